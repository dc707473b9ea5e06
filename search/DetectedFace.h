// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QPointF>

#include <array>

namespace morvelin {

// One face as the detector reports it: a rectangle in pixels of the image (left x1, right x2, top y1,
// bottom y2, with x1 < x2 and y1 < y2, inside the image) and the model's key points.
struct DetectedFace {
    // Key points in image pixels, in the model's order: the person's right eye (on the image's left
    // in a frontal face), left eye, nose tip, mouth, right ear, left ear.
    enum KeyPoint { RightEye, LeftEye, NoseTip, Mouth, RightEar, LeftEar, KeyPointCount };

    int x1 = 0;
    int x2 = 0;
    int y1 = 0;
    int y2 = 0;
    float score = 0.0f;
    std::array<QPointF, KeyPointCount> keyPoints{};

    int width() const { return x2 - x1; }
    int height() const { return y2 - y1; }
};

} // namespace morvelin
