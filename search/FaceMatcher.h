// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include "search/DetectedFace.h"
#include "search/FaceScore.h"
#include "search/FoundFace.h"

#include <QImage>
#include <QJsonObject>
#include <QString>

#include <vector>

namespace morvelin {

// One way of comparing faces. A matcher first reads what it compares from faces cut out of a photo
// (the same call for the faces of the person searched for and for every face a scan finds), is then
// prepared once with the person's faces, and from then on scores found faces from any thread.
class FaceMatcher {
public:
    struct Score {
        FaceScore score = FaceScore::fromTenThousandths(0);
        // What `--json` tells of this comparison beside the score, such as a similarity.
        QJsonObject details;
    };

    virtual ~FaceMatcher() = default;

    // As the settings, the command line and `--json` spell it.
    virtual QString name() const = 0;

    // Adds what this matcher compares to `faces`, cut from `photo` where the detector reported
    // `detected` (same order, same size). Returns why it could not, empty when it could.
    virtual QString read(const QImage& photo, const std::vector<DetectedFace>& detected,
                         std::vector<FoundFace>& faces) const = 0;
    // Whether a face remembered by the face index holds what read() gives; a photo with a face that
    // does not is scanned again.
    virtual bool hasRead(const FoundFace& face) const = 0;
    // Whether score() compares the faces' grid pictures; the face index keeps them only for a matcher
    // that does.
    virtual bool comparesPictures() const { return false; }

    // The person searched for: one or more faces, each read by read(). Called once, before any score.
    virtual void prepare(const std::vector<FoundFace>& person) = 0;
    // A found face (its picture not null) against the person.
    virtual Score score(const FoundFace& face) const = 0;
};

} // namespace morvelin
