// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include "engine/BoundedArray2D.h"
#include "engine/Canvas.h"
#include "engine/EngineError.h"
#include "engine/Numeric.h"
#include "engine/classImageProcessing.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace morvelin {

// Raised when an operation needs an object that was never made, such as Identify before any face
// was added.
class ObjectNotSetError : public EngineError {
public:
    explicit ObjectNotSetError(const std::string& what = "object not set") : EngineError(what) {}
};

// A small gallery recogniser: named faces sampled into grids, each lowered by a per-cell template,
// and a probe face named by the stored face whose lowered grid is nearest.
class ClassFaceRecogniser {
public:
    static constexpr int capacity = 1001;

    std::int16_t imageWidth = 0;
    std::int16_t imageHeight = 0;
    std::int16_t NoOfFaces = 0;
    // The stored face grid the last Identify found nearest; shared, so it stays valid when its slot
    // is later reused.
    std::shared_ptr<classImageProcessing> Identity;

    // Sets the grid size and makes a fresh, all-zero template; stored faces are kept.
    void init(std::int16_t image_Width, std::int16_t image_Height);
    // Samples the whole picture into the next slot under faceName.
    void addFace(const Canvas& facePicture, const std::string& faceName);
    // The template: the same floor of 100 in every sampled cell.
    void updateFaceTemplate();
    // Lowers every stored face by the template.
    void updateEigenFaces();
    struct Match {
        std::string name;
        std::int32_t distance = 0;
    };
    // The nearest stored face's name and its distance; ties go to the earlier face. Also sets Identity.
    Match nearest(const Canvas& facePicture);
    // nearest() as one word, the name directly followed by the distance ("alice812").
    std::string Identify(const Canvas& facePicture);

private:
    using Slot = std::shared_ptr<classImageProcessing>;

    static std::size_t slotIndex(int i);
    static const Slot& stored(const std::array<Slot, capacity>& slots, int i);
    std::uint8_t lowered(std::uint8_t level, std::int16_t x, std::int16_t y) const;
    std::shared_ptr<classImageProcessing> newGrid() const;

    std::array<Slot, capacity> faces;
    std::array<Slot, capacity> eigenFaces;
    std::array<std::string, capacity> faceNames;
    BoundedArray2D<Single> faceTemplate;
    Slot probeFace;
    Slot probeEigenFace;
};

} // namespace morvelin
