// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/FaceGeometry.h"

#include "search/DetectedFace.h"

#include <cmath>

namespace morvelin {

namespace {

// Measured on dlib's marked faces and the model's finds on them (bench/detect_sizes_bench), with room:
// frontal faces have their eyes about 0.4 of the box apart, faces in profile down to about 0.2.
constexpr double fewestEyeWidths = 0.12;
constexpr double mostEyeWidths = 0.8;
// The mouth lies about one eye distance below the eyes in a frontal face.
constexpr double deepestMouth = 2.5;

double dot(const QPointF& a, const QPointF& b)
{
    return a.x() * b.x() + a.y() * b.y();
}

} // namespace

bool FaceGeometry::makesAFace(const BlazeFaceDecoder::Candidate& candidate)
{
    const auto& points = candidate.keyPoints;
    const QRectF grown = candidate.box.adjusted(-candidate.box.width() / 2, -candidate.box.height() / 2,
                                                candidate.box.width() / 2, candidate.box.height() / 2);
    for (const QPointF& point : points) {
        if (!std::isfinite(point.x()) || !std::isfinite(point.y()) || !grown.contains(point)) {
            return false;
        }
    }
    const QPointF across = points[DetectedFace::LeftEye] - points[DetectedFace::RightEye];
    const double eyes = std::hypot(across.x(), across.y());
    const double width = std::max(candidate.box.width(), candidate.box.height());
    if (!(eyes >= fewestEyeWidths * width && eyes <= mostEyeWidths * width)) {
        return false;
    }
    // Down the face, square to the eyes' line: the same for a face turned or upside down.
    const QPointF down(-across.y() / eyes, across.x() / eyes);
    const QPointF between = (points[DetectedFace::LeftEye] + points[DetectedFace::RightEye]) / 2;
    const double nose = dot(points[DetectedFace::NoseTip] - between, down);
    const double mouth = dot(points[DetectedFace::Mouth] - between, down);
    return nose > 0 && mouth > nose && mouth <= deepestMouth * eyes;
}

} // namespace morvelin
