// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "engine/ClassFaceRecogniser.h"

#include <cstdlib>

namespace morvelin {

namespace {

constexpr Single templateLevel = 100.0f;
constexpr std::int32_t noDistance = 99999999;

} // namespace

void ClassFaceRecogniser::init(std::int16_t image_Width, std::int16_t image_Height)
{
    imageWidth = image_Width;
    imageHeight = image_Height;
    faceTemplate = BoundedArray2D<Single>(imageWidth, imageHeight);
}

std::size_t ClassFaceRecogniser::slotIndex(int i)
{
    if (i < 0 || i >= capacity) {
        throw IndexOutOfRangeError("face slot " + std::to_string(i) + " out of range 0.."
                                   + std::to_string(capacity - 1));
    }
    return static_cast<std::size_t>(i);
}

const ClassFaceRecogniser::Slot& ClassFaceRecogniser::stored(const std::array<Slot, capacity>& slots, int i)
{
    // NoOfFaces is public and may be raised past the faces actually added.
    const Slot& slot = slots[slotIndex(i)];
    if (!slot) {
        throw ObjectNotSetError("no face stored in slot " + std::to_string(i));
    }
    return slot;
}

std::shared_ptr<classImageProcessing> ClassFaceRecogniser::newGrid() const
{
    auto grid = std::make_shared<classImageProcessing>();
    grid->init(imageWidth, imageHeight);
    return grid;
}

void ClassFaceRecogniser::addFace(const Canvas& facePicture, const std::string& faceName)
{
    // A full gallery fails before anything changes.
    const std::size_t i = slotIndex(NoOfFaces);
    faces[i] = newGrid();
    eigenFaces[i] = newGrid();
    probeFace = newGrid();
    probeEigenFace = newGrid();
    faces[i]->update(facePicture);
    faceNames[i] = faceName;
    NoOfFaces = num::add16(NoOfFaces, 1);
}

void ClassFaceRecogniser::updateFaceTemplate()
{
    for (std::int16_t x = 0; x < imageWidth; ++x) {
        for (std::int16_t y = 0; y < imageHeight; ++y) {
            faceTemplate.set(x, y, templateLevel);
        }
    }
}

std::uint8_t ClassFaceRecogniser::lowered(std::uint8_t level, std::int16_t x, std::int16_t y) const
{
    const std::int16_t d = num::toInt16(static_cast<double>(level) - faceTemplate.get(x, y));
    return num::toByte(d < 0 ? 0 : d);
}

void ClassFaceRecogniser::updateEigenFaces()
{
    for (int i = 0; i < NoOfFaces; ++i) {
        const Slot& face = stored(faces, i);
        const Slot& eigenFace = stored(eigenFaces, i);
        for (std::int16_t x = 0; x < imageWidth; ++x) {
            for (std::int16_t y = 0; y < imageHeight; ++y) {
                eigenFace->setPoint(x, y, lowered(face->getPoint(x, y), x, y));
            }
        }
    }
}

std::string ClassFaceRecogniser::Identify(const Canvas& facePicture)
{
    const Match match = nearest(facePicture);
    return match.name + std::to_string(match.distance);
}

ClassFaceRecogniser::Match ClassFaceRecogniser::nearest(const Canvas& facePicture)
{
    if (!probeFace || !probeEigenFace) {
        throw ObjectNotSetError("Identify needs at least one face added first");
    }
    std::string bestName;
    probeFace->update(facePicture);
    for (std::int16_t x = 0; x < imageWidth; ++x) {
        for (std::int16_t y = 0; y < imageHeight; ++y) {
            probeEigenFace->setPoint(x, y, lowered(probeFace->getPoint(x, y), x, y));
        }
    }

    std::int32_t best = noDistance;
    for (int i = 0; i < NoOfFaces; ++i) {
        const std::size_t slot = slotIndex(i);
        const Slot& eigenFace = stored(eigenFaces, i);
        std::int32_t distance = 0;
        for (std::int16_t x = 0; x < imageWidth; ++x) {
            for (std::int16_t y = 0; y < imageHeight; ++y) {
                const auto difference = num::sub16(eigenFace->getPoint(x, y), probeEigenFace->getPoint(x, y));
                distance = num::add32(distance, std::abs(difference));
            }
        }
        // Strictly smaller: on a tie the earlier face stays.
        if (distance < best) {
            best = distance;
            bestName = faceNames[slot];
            Identity = faces[slot];
        }
    }
    return {bestName, best};
}

} // namespace morvelin
