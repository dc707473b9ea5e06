// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/BlazeFaceDecoder.h"

#include <algorithm>
#include <cmath>

namespace morvelin {

namespace {

float sigmoid(float logit)
{
    // The model's logits can be huge; clipping keeps exp() finite.
    const float clipped = std::clamp(logit, -80.0f, 80.0f);
    return 1.0f / (1.0f + std::exp(-clipped));
}

QPointF place(const BlazeFaceDecoder::Placement& placement, double x, double y)
{
    return QPointF(x * placement.scaleX + placement.offset.x(), y * placement.scaleY + placement.offset.y());
}

} // namespace

std::vector<BlazeFaceDecoder::Candidate> BlazeFaceDecoder::decode(
    std::span<const float> fineScores, std::span<const float> fineBoxes, std::span<const float> coarseScores,
    std::span<const float> coarseBoxes, int inputSize, float threshold, const Placement& placement)
{
    std::vector<Candidate> candidates;
    decodeGrid(fineScores, fineBoxes, 16, 2, inputSize, threshold, placement, candidates);
    decodeGrid(coarseScores, coarseBoxes, 8, 6, inputSize, threshold, placement, candidates);
    return candidates;
}

void BlazeFaceDecoder::decodeGrid(std::span<const float> scores, std::span<const float> boxes, int cellsInRow,
                                  int anchorsPerCell, int inputSize, float threshold, const Placement& placement,
                                  std::vector<Candidate>& out)
{
    const std::size_t anchors = std::size_t(cellsInRow) * cellsInRow * anchorsPerCell;
    if (scores.size() < anchors || boxes.size() < anchors * valuesPerAnchor) {
        return;
    }
    const double cellSize = double(inputSize) / cellsInRow;
    for (std::size_t index = 0; index < anchors; ++index) {
        const float score = sigmoid(scores[index]);
        if (score <= threshold) {
            continue;
        }
        const std::size_t cell = index / anchorsPerCell;
        const double anchorX = (double(cell % cellsInRow) + 0.5) * cellSize;
        const double anchorY = (double(cell / cellsInRow) + 0.5) * cellSize;
        const float* values = boxes.data() + index * valuesPerAnchor;

        Candidate candidate;
        candidate.score = score;
        const QPointF centre = place(placement, anchorX + values[0], anchorY + values[1]);
        const double width = std::abs(values[2]) * placement.scaleX;
        const double height = std::abs(values[3]) * placement.scaleY;
        candidate.box = QRectF(centre.x() - width / 2, centre.y() - height / 2, width, height);
        for (int k = 0; k < keyPointCount; ++k) {
            candidate.keyPoints[k] = place(placement, anchorX + values[4 + 2 * k], anchorY + values[5 + 2 * k]);
        }
        out.push_back(candidate);
    }
}

double BlazeFaceDecoder::intersectionOverUnion(const QRectF& a, const QRectF& b)
{
    const QRectF overlap = a.intersected(b);
    const double inner = overlap.isValid() ? overlap.width() * overlap.height() : 0.0;
    const double united = a.width() * a.height() + b.width() * b.height() - inner;
    return united > 0 ? inner / united : 0.0;
}

std::vector<BlazeFaceDecoder::Candidate> BlazeFaceDecoder::mergeOverlaps(std::vector<Candidate> candidates,
                                                                          float iouThreshold)
{
    // Ties broken by position so equal scores cannot reorder between runs.
    std::sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
        if (a.score != b.score) {
            return a.score > b.score;
        }
        if (a.box.top() != b.box.top()) {
            return a.box.top() < b.box.top();
        }
        return a.box.left() < b.box.left();
    });

    std::vector<Candidate> merged;
    std::vector<bool> absorbed(candidates.size(), false);
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        if (absorbed[i]) {
            continue;
        }
        const Candidate& best = candidates[i];
        double weight = 0.0;
        double left = 0.0, top = 0.0, right = 0.0, bottom = 0.0;
        std::array<QPointF, keyPointCount> points{};
        for (std::size_t j = i; j < candidates.size(); ++j) {
            if (absorbed[j] || (j != i && intersectionOverUnion(best.box, candidates[j].box) < iouThreshold)) {
                continue;
            }
            absorbed[j] = true;
            const Candidate& member = candidates[j];
            const double w = member.score;
            weight += w;
            left += member.box.left() * w;
            top += member.box.top() * w;
            right += member.box.right() * w;
            bottom += member.box.bottom() * w;
            for (int k = 0; k < keyPointCount; ++k) {
                points[k] += member.keyPoints[k] * w;
            }
        }
        Candidate blended;
        blended.score = best.score;
        blended.box = QRectF(QPointF(left / weight, top / weight), QPointF(right / weight, bottom / weight));
        for (int k = 0; k < keyPointCount; ++k) {
            blended.keyPoints[k] = points[k] / weight;
        }
        merged.push_back(blended);
    }
    return merged;
}

} // namespace morvelin
