// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/FaceCutter.h"

namespace morvelin {

QImage FaceCutter::cut(const QImage& picture, int x1, int x2, int y1, int y2)
{
    const QRect face = QRect(QPoint(x1, y1), QPoint(x2 - 1, y2 - 1)).intersected(picture.rect());
    if (picture.isNull() || face.isEmpty()) {
        return QImage();
    }
    return picture.copy(face)
        .scaled(faceSize, faceSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_RGB32);
}

} // namespace morvelin
