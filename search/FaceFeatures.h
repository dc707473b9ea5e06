// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include "search/DetectedFace.h"
#include "search/NetworkPool.h"

#include <QImage>
#include <QString>

#include <opencv2/core.hpp>
#include <opencv2/dnn.hpp>

#include <memory>
#include <vector>

namespace morvelin {

// The facial-features model: reads a face, aligned on a 112 x 112 square by its key points, as
// 512 numbers; two faces of one person point the same way. The model file is read once per process,
// checked against its known checksum, and shared by every thread: each run borrows a network of its own.
class FaceFeatures {
public:
    static constexpr int side = 112;
    static constexpr int length = 512;
    static constexpr const char* fileName = "fr_feature.onnx";
    // The cosine similarity that scores 70 %: at most 1 % of two different people's faces reach it on
    // the labelled test faces (see the README).
    static constexpr double matchSimilarity = 0.33;

    struct Loaded {
        std::shared_ptr<FaceFeatures> model;
        QString error; // one line naming the file and why it is unusable, empty on success
    };

    // The model file beside the detector's data file.
    static QString pathBeside(const QString& dataPath);
    // From a cache shared by the process; failures are not cached, so a repaired file is taken up.
    static Loaded forFile(const QString& path);

    // Where the photo's pixels land on the aligned square: the similarity transform that puts the
    // image-left eye, the image-right eye, the nose tip and the mouth nearest the reference points, or
    // the box's corners on the square's when the key points are missing or make no face.
    static cv::Matx23d alignment(const DetectedFace& face, const QSize& photoSize);
    // The aligned face, 112 x 112 RGB888; `photo` is best given as RGB888 already (one conversion per
    // photo rather than per face).
    static QImage align(const QImage& photo, const DetectedFace& face);

    // The unit vector of an aligned face; empty for a null picture.
    std::vector<float> vectorOf(const QImage& aligned);
    // The dot product of two unit vectors, -1..1; 0 when either is missing.
    static double similarity(const std::vector<float>& a, const std::vector<float>& b);

private:
    explicit FaceFeatures(std::vector<uchar> bytes);

    static Loaded load(const QString& path);
    cv::Mat forward(const cv::Mat& blob);
    NetworkPool m_networks;
};

} // namespace morvelin
