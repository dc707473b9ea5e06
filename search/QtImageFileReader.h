#pragma once

#include "search/ImageFileReader.h"

#include <QByteArray>
#include <QImageIOHandler>

namespace morvelin {

// BMP, GIF, JPEG, PNG and TIFF through Qt's own readers. JPEGs decode at a reduced size straight
// from the compressed data when the caller asks for less than the full picture.
class QtImageFileReader : public ImageFileReader {
public:
    // `format` is Qt's name for it ("bmp", "gif", "jpeg", "png", "tiff"); no other format is tried.
    explicit QtImageFileReader(QByteArray format);

protected:
    QSize readHeader() override;
    QImage decode(QSize target) override;

private:
    QByteArray m_format;
    QImageIOHandler::Transformations m_transformation = QImageIOHandler::TransformationNone;
};

} // namespace morvelin
