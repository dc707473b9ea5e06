// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include "search/BlazeFaceDecoder.h"
#include "search/DetectedFace.h"
#include "search/DetectorConfig.h"

#include <QSize>

#include <optional>
#include <vector>

namespace morvelin {

// Places the rectangle a face is reported with, and orders the faces of one image.
class FaceFraming {
public:
    // Raise it with any change to the rectangles or the order of the faces: the face index keeps both.
    static constexpr int revision = 1;

    // The candidate's rectangle in whole pixels as the data file asks for it (the model's box or the
    // eye box), clipped to the image; nothing when no pixel of it lies inside.
    static std::optional<DetectedFace> place(const BlazeFaceDecoder::Candidate& candidate,
                                             const DetectorConfig& config, const QSize& imageSize);

    // The eye box: a square centred `drop` eye distances below the midpoint of the eyes, `size` eye
    // distances wide.
    static QRectF eyeBox(const QPointF& rightEye, const QPointF& leftEye, float size, float drop);

    // Reading order: rows from top to bottom, each row left to right. The topmost face (by its top
    // edge) opens a row; every later face whose top edge lies above that face's middle joins it; the
    // first face that does not opens the next row. Equal positions fall back to the other edges, so
    // the same faces always come out in the same order.
    static void sortInReadingOrder(std::vector<DetectedFace>& faces);
};

} // namespace morvelin
