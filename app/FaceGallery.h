#pragma once

#include "search/PictureSizes.h"

#include <QImage>
#include <QListWidget>

#include <vector>

namespace morvelin {

// The faces found in the source picture, as 48 x 48 thumbnails in the order the detector reported
// them. Thumbnails are collected while the detection runs and shown together when it is done.
class FaceGallery : public QListWidget {
    Q_OBJECT

public:
    static constexpr int thumbnailSize = PictureSizes::face;

    explicit FaceGallery(QWidget* parent = nullptr);

    // Empties the gallery and the thumbnails behind it.
    void clearFaces();
    void addThumbnail(const QImage& thumbnail);
    // One item per thumbnail collected.
    void showThumbnails();

    int thumbnailCount() const { return static_cast<int>(m_imageBox.size()); }
    QImage thumbnail(int index) const;

signals:
    // 0-based, in detector order.
    void faceClicked(int index);

private:
    // The thumbnails in detector order; the items only point into it.
    std::vector<QImage> m_imageBox;
};

} // namespace morvelin
