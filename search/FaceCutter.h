// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include "search/PictureSizes.h"

#include <QImage>

namespace morvelin {

// Cuts a detected face out of the picture it was found in and scales it to the 48 x 48 pixels every
// face picture has.
class FaceCutter {
public:
    static constexpr int faceSize = PictureSizes::face;
    // Raise it with any change to how a face is cut or scaled: the face index keeps cut faces.
    static constexpr int revision = 1;

    // The rectangle is left x1, right x2, top y1, bottom y2 in pixels of `picture`. A rectangle reaching
    // past the picture is clipped to it; one with nothing inside gives a null image.
    static QImage cut(const QImage& picture, int x1, int x2, int y1, int y2);
};

} // namespace morvelin
