// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "engine/FaceMatchTech.h"

#include "engine/Numeric.h"
#include "engine/classImageProcessing.h"

#include <cstdlib>

namespace morvelin {

namespace {

// Both pictures are lowered over all 48 rows: lowering only the upper half of the first one would make
// a face differ from itself whenever its chin is bright.
void lowerBelowFloor(const classImageProcessing& source, classImageProcessing& target)
{
    for (std::int16_t x = 0; x < FaceMatchTech::gridSize; ++x) {
        for (std::int16_t y = 0; y < FaceMatchTech::gridSize; ++y) {
            double d = static_cast<double>(source.getPoint(x, y)) - FaceMatchTech::floorLevel;
            if (d < 0) {
                d = 0;
            }
            target.setPoint(x, y, num::toByte(d));
        }
    }
}

} // namespace

std::int32_t FaceMatchTech::CompareFaces(const Canvas& PicFaceA, const Canvas& PicFaceB) const
{
    classImageProcessing gridA;
    classImageProcessing brightA;
    classImageProcessing gridB;
    classImageProcessing brightB;
    for (classImageProcessing* grid : {&gridA, &brightA, &gridB, &brightB}) {
        grid->init(gridSize, gridSize);
    }

    gridA.update(PicFaceA);
    gridB.update(PicFaceB);
    lowerBelowFloor(gridA, brightA);
    lowerBelowFloor(gridB, brightB);

    std::int32_t sum = 0;
    for (std::int16_t x = 0; x < gridSize; ++x) {
        for (std::int16_t y = 0; y < gridSize; ++y) {
            const std::int16_t difference = num::sub16(brightA.getPoint(x, y), brightB.getPoint(x, y));
            sum = num::add32(sum, std::abs(difference));
        }
    }
    return sum;
}

} // namespace morvelin
