// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace morvelin {

// What the face detector's data file ("data.xml") sets: the model, how its answers are read and how
// a face's rectangle is placed.
struct DetectorConfig {
    // The model's own box, or a box placed from the eyes: the eye box frames every face alike, so the
    // same cells of the comparison grid hold the same features.
    enum class Framing { DetectorBox, EyeBox };

    struct Result;

    QString modelPath; // absolute; the data file names it relative to its own folder
    int inputSize = 256;
    float scoreThreshold = 0.75f;
    float nmsThreshold = 0.3f;

    // A second pass over overlapping square tiles finds faces too small for the whole-image pass:
    // tilesAcross tiles along the longer side (below 2: no second pass), overlapping by tileOverlap
    // of a tile's side.
    int tilesAcross = 0;
    float tileOverlap = 0.25f;

    // False faces: a find the second, closer look does not see again with at least this confidence
    // is dropped (0: it keeps its first find); with keyPointsChecked, so is one whose key points make
    // no face (see FaceGeometry).
    float secondLookScore = 0.0f;
    bool keyPointsChecked = false;

    Framing framing = Framing::DetectorBox;
    // The eye box in eye distances: its side, and how far its centre lies below the eyes' midpoint.
    float eyeBoxSize = 2.0f;
    float eyeBoxDrop = 0.5f;

    static Result readFile(const QString& dataPath);
    // `folder` is where a relative model path starts.
    static Result parse(const QByteArray& xml, const QString& folder);

    friend bool operator==(const DetectorConfig&, const DetectorConfig&) = default;
};

struct DetectorConfig::Result {
    std::optional<DetectorConfig> config;
    QString error; // why the file is unusable, empty on success
};

} // namespace morvelin
