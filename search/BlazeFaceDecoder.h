// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QPointF>
#include <QRectF>

#include <array>
#include <span>
#include <vector>

namespace morvelin {

// Turns BlazeFace's raw answers into face candidates. The model answers per anchor: a logit, and 16
// values (box centre offset, width and height in input pixels, then six key points as offsets);
// anchors sit on a 16 x 16 grid (two each) and an 8 x 8 grid (six each), row by row.
class BlazeFaceDecoder {
public:
    static constexpr int valuesPerAnchor = 16;
    static constexpr int keyPointCount = 6;
    static constexpr int fineAnchors = 16 * 16 * 2;
    static constexpr int coarseAnchors = 8 * 8 * 6;

    struct Candidate {
        float score = 0.0f; // 0..1
        QRectF box;         // centre and size as the model gives them
        std::array<QPointF, keyPointCount> keyPoints{};
    };

    // Maps model input pixels to image pixels: image = input * scale + offset, per axis.
    struct Placement {
        double scaleX = 1.0;
        double scaleY = 1.0;
        QPointF offset;
    };

    // Candidates scoring above `threshold`, in image pixels. `fineScores`/`fineBoxes` belong to the
    // 16 x 16 grid, `coarseScores`/`coarseBoxes` to the 8 x 8 one; `inputSize` is the model's side.
    static std::vector<Candidate> decode(std::span<const float> fineScores, std::span<const float> fineBoxes,
                                         std::span<const float> coarseScores,
                                         std::span<const float> coarseBoxes, int inputSize, float threshold,
                                         const Placement& placement);

    // Overlap removal as MediaPipe does it: the best candidate absorbs every candidate that overlaps
    // it by at least `iouThreshold` and the group becomes their score-weighted mean, keeping the best
    // score. The result is ordered by score, best first.
    static std::vector<Candidate> mergeOverlaps(std::vector<Candidate> candidates, float iouThreshold);

    static double intersectionOverUnion(const QRectF& a, const QRectF& b);

private:
    static void decodeGrid(std::span<const float> scores, std::span<const float> boxes, int cellsInRow,
                           int anchorsPerCell, int inputSize, float threshold, const Placement& placement,
                           std::vector<Candidate>& out);
};

} // namespace morvelin
