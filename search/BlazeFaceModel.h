// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include "search/BlazeFaceDecoder.h"
#include "search/NetworkPool.h"

#include <QString>

#include <opencv2/core.hpp>
#include <opencv2/dnn.hpp>

#include <memory>
#include <vector>

namespace morvelin {

// One BlazeFace model file, read once and shared by every thread. A network must not run two inputs
// at once, so each run borrows a network of its own from a pool built from the shared bytes.
class BlazeFaceModel {
public:
    struct Loaded {
        std::shared_ptr<BlazeFaceModel> model;
        QString error; // why the model is unusable, empty on success
    };

    // The model in `path` for inputs of `inputSize` pixels, from a cache shared by the process;
    // read and checked by one trial run on first use. Failures are not cached.
    static Loaded forFile(const QString& path, int inputSize);

    int inputSize() const { return m_inputSize; }

    // Runs the model on a square RGB picture of inputSize pixels (8 bits a channel) and decodes the
    // answers scoring above `threshold`, placed in image pixels by `placement`.
    std::vector<BlazeFaceDecoder::Candidate> run(const cv::Mat& rgb, float threshold,
                                                 const BlazeFaceDecoder::Placement& placement);

private:
    struct Outputs {
        cv::Mat fineScores;
        cv::Mat fineBoxes;
        cv::Mat coarseScores;
        cv::Mat coarseBoxes;
    };

    BlazeFaceModel(std::vector<uchar> bytes, int inputSize);

    static Loaded load(const QString& path, int inputSize);
    Outputs forward(const cv::Mat& rgb);
    NetworkPool m_networks;
    int m_inputSize;
};

} // namespace morvelin
