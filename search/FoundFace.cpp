// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/FoundFace.h"

#include "search/FaceCutter.h"
#include "search/FaceFilter.h"

namespace morvelin {

FoundFace FoundFace::cutFrom(const QImage& photo, const DetectedFace& detected)
{
    FoundFace face;
    face.box = QRect(QPoint(detected.x1, detected.y1), QPoint(detected.x2 - 1, detected.y2 - 1));
    face.keyPoints = detected.keyPoints;
    face.thumbnail = FaceCutter::cut(photo, detected.x1, detected.x2, detected.y1, detected.y2);
    face.picture = face.thumbnail;
    face.blank = face.picture.isNull();
    if (!face.blank) {
        FaceFilter::apply(face.picture);
    }
    return face;
}

DetectedFace FoundFace::detected() const
{
    DetectedFace face;
    face.x1 = box.left();
    face.x2 = box.right() + 1;
    face.y1 = box.top();
    face.y2 = box.bottom() + 1;
    face.keyPoints = keyPoints;
    return face;
}

} // namespace morvelin
