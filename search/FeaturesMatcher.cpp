// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/FeaturesMatcher.h"

#include "search/FaceFeatures.h"
#include "search/HalfFloat.h"

#include <cmath>

namespace morvelin {

QString FeaturesMatcher::problemWith(const QString& dataPath)
{
    return FaceFeatures::forFile(FaceFeatures::pathBeside(dataPath)).error;
}

QString FeaturesMatcher::read(const QImage& photo, const std::vector<DetectedFace>& detected,
                              std::vector<FoundFace>& faces) const
{
    const FaceFeatures::Loaded loaded = FaceFeatures::forFile(FaceFeatures::pathBeside(m_dataPath));
    if (!loaded.model) {
        return loaded.error;
    }
    const QImage rgb = photo.convertToFormat(QImage::Format_RGB888); // once per photo, not per face
    for (std::size_t i = 0; i < faces.size() && i < detected.size(); ++i) {
        if (!faces[i].blank) {
            faces[i].features = loaded.model->vectorOf(FaceFeatures::align(rgb, detected[i]));
            HalfFloat::round(faces[i].features);
        }
    }
    return QString();
}

bool FeaturesMatcher::hasRead(const FoundFace& face) const
{
    return face.blank || !face.features.empty();
}

void FeaturesMatcher::prepare(const std::vector<FoundFace>& person)
{
    std::vector<std::vector<float>> vectors;
    for (const FoundFace& face : person) {
        if (!face.features.empty()) {
            vectors.push_back(face.features);
        }
    }
    m_person = meanDirection(vectors);
}

FaceMatcher::Score FeaturesMatcher::score(const FoundFace& face) const
{
    const double similarity = FaceFeatures::similarity(m_person, face.features);
    Score result;
    result.score = FaceScore::fromSimilarity(similarity, FaceFeatures::matchSimilarity);
    result.details.insert(QStringLiteral("similarity"), std::round(similarity * 1e6) / 1e6);
    return result;
}

std::vector<float> FeaturesMatcher::meanDirection(const std::vector<std::vector<float>>& vectors)
{
    if (vectors.empty()) {
        return {};
    }
    if (vectors.size() == 1) {
        return vectors.front(); // already a unit vector: one face searched for scores as it always did
    }
    std::vector<double> sum(vectors.front().size(), 0.0);
    for (const std::vector<float>& vector : vectors) {
        for (std::size_t i = 0; i < sum.size() && i < vector.size(); ++i) {
            sum[i] += vector[i];
        }
    }
    double norm = 0;
    for (const double value : sum) {
        norm += value * value;
    }
    norm = std::sqrt(norm);
    std::vector<float> mean(sum.size(), 0.0f);
    for (std::size_t i = 0; i < sum.size() && norm > 0; ++i) {
        mean[i] = float(sum[i] / norm);
    }
    return mean;
}

} // namespace morvelin
