// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/FaceFraming.h"

#include <algorithm>
#include <cmath>
#include <tuple>

namespace morvelin {

namespace {

auto topFirst(const DetectedFace& face)
{
    return std::tie(face.y1, face.x1, face.y2, face.x2);
}

auto leftFirst(const DetectedFace& face)
{
    return std::tie(face.x1, face.y1, face.x2, face.y2);
}

} // namespace

QRectF FaceFraming::eyeBox(const QPointF& rightEye, const QPointF& leftEye, float size, float drop)
{
    const QPointF between = (rightEye + leftEye) / 2;
    const double distance = std::hypot(leftEye.x() - rightEye.x(), leftEye.y() - rightEye.y());
    const double side = distance * size;
    const QPointF centre(between.x(), between.y() + distance * drop);
    return QRectF(centre.x() - side / 2, centre.y() - side / 2, side, side);
}

std::optional<DetectedFace> FaceFraming::place(const BlazeFaceDecoder::Candidate& candidate,
                                               const DetectorConfig& config, const QSize& imageSize)
{
    QRectF box = candidate.box;
    if (config.framing == DetectorConfig::Framing::EyeBox) {
        const QRectF eyes = eyeBox(candidate.keyPoints[DetectedFace::RightEye],
                                   candidate.keyPoints[DetectedFace::LeftEye], config.eyeBoxSize,
                                   config.eyeBoxDrop);
        // Eyes on top of each other say nothing about the face's size; the model's box does.
        if (eyes.width() >= 1.0) {
            box = eyes;
        }
    }
    DetectedFace face;
    face.x1 = std::clamp(static_cast<int>(std::lrint(box.left())), 0, imageSize.width());
    face.x2 = std::clamp(static_cast<int>(std::lrint(box.right())), 0, imageSize.width());
    face.y1 = std::clamp(static_cast<int>(std::lrint(box.top())), 0, imageSize.height());
    face.y2 = std::clamp(static_cast<int>(std::lrint(box.bottom())), 0, imageSize.height());
    if (face.x1 >= face.x2 || face.y1 >= face.y2) {
        return std::nullopt;
    }
    face.score = candidate.score;
    std::copy(candidate.keyPoints.begin(), candidate.keyPoints.end(), face.keyPoints.begin());
    return face;
}

void FaceFraming::sortInReadingOrder(std::vector<DetectedFace>& faces)
{
    std::sort(faces.begin(), faces.end(), [](const auto& a, const auto& b) { return topFirst(a) < topFirst(b); });
    auto rowStart = faces.begin();
    while (rowStart != faces.end()) {
        const int middle = rowStart->y1 + rowStart->height() / 2;
        const auto rowEnd =
            std::find_if(rowStart + 1, faces.end(), [middle](const DetectedFace& face) { return face.y1 >= middle; });
        std::sort(rowStart, rowEnd, [](const auto& a, const auto& b) { return leftFirst(a) < leftFirst(b); });
        rowStart = rowEnd;
    }
}

} // namespace morvelin
