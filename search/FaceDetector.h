// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include "search/DetectedFace.h"
#include "search/DetectorConfig.h"

#include <QImage>
#include <QString>

#include <vector>

namespace morvelin {

// Finds the faces in a picture with the model a detector data file names. Synchronous and safe to
// call from several threads at once: data files and models are read once per process and shared.
class FaceDetector {
public:
    struct Result {
        std::vector<DetectedFace> faces; // in reading order (see FaceFraming::sortInReadingOrder)
        QString error;                   // why nothing could be looked for, empty on success

        bool ok() const { return error.isEmpty(); }
    };

    static Result detect(const QImage& image, const QString& dataPath);
    static Result detect(const QImage& image, const DetectorConfig& config);

    // The data file's settings, read once per path and kept for the life of the process.
    static DetectorConfig::Result config(const QString& dataPath);
};

} // namespace morvelin
