// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/FacePictureLoader.h"

#include <QFileInfo>
#include <QImageReader>

namespace morvelin {

PixelCanvas FacePictureLoader::fromImage(const QImage& image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    PixelCanvas picture(rgb.width(), rgb.height());
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            picture.setPixel(x, y, PixelCanvas::bgr(qRed(line[x]), qGreen(line[x]), qBlue(line[x])));
        }
    }
    return picture;
}

FacePictureLoader::Result FacePictureLoader::loadFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        return {std::nullopt, QStringLiteral("no such file")};
    }
    if (info.isDir()) {
        return {std::nullopt, QStringLiteral("is a folder, not an image")};
    }
    if (!info.isFile()) {
        // A named pipe or a device: opening it could wait for ever.
        return {std::nullopt, QStringLiteral("not a photo (not a regular file)")};
    }
    if (!info.isReadable()) {
        return {std::nullopt, QStringLiteral("permission denied")};
    }
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    if (image.isNull()) {
        return {std::nullopt, QStringLiteral("not a readable image (%1)").arg(reader.errorString())};
    }
    return {fromImage(image), QString()};
}

} // namespace morvelin
