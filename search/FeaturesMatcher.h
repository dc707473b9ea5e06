// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include "search/FaceMatcher.h"

#include <vector>

namespace morvelin {

// The facial-features matcher: each face aligned by its key points and read by the recognition model
// as a unit vector; a found face scores by its cosine with the person's vector, 70 % at
// FaceFeatures::matchSimilarity. Several faces of the person become one: the mean of their vectors,
// made a unit vector again, which holds up where one face in profile or behind glasses does not.
class FeaturesMatcher : public FaceMatcher {
public:
    static constexpr const char* matcherName = "features";

    // The model lies beside the detector's data file `dataPath`.
    explicit FeaturesMatcher(QString dataPath) : m_dataPath(std::move(dataPath)) {}

    // Why the model beside `dataPath` cannot be used; empty when it can.
    static QString problemWith(const QString& dataPath);

    QString name() const override { return QString::fromLatin1(matcherName); }
    QString read(const QImage& photo, const std::vector<DetectedFace>& detected,
                 std::vector<FoundFace>& faces) const override;
    bool hasRead(const FoundFace& face) const override;
    void prepare(const std::vector<FoundFace>& person) override;
    Score score(const FoundFace& face) const override;

    // The unit vector of the mean of `vectors` (each a unit vector of one length); empty when none.
    static std::vector<float> meanDirection(const std::vector<std::vector<float>>& vectors);

private:
    QString m_dataPath;
    std::vector<float> m_person;
};

} // namespace morvelin
