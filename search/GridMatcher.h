// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include "engine/PixelCanvas.h"
#include "search/FaceMatcher.h"

namespace morvelin {

// The comparison the engine defines: two filtered 48 x 48 grids, cell by cell. With several faces of
// the person a found face scores its best against any of them.
class GridMatcher : public FaceMatcher {
public:
    static constexpr const char* matcherName = "grid";

    QString name() const override { return QString::fromLatin1(matcherName); }
    // The grid picture is cut with every face: nothing more to read.
    QString read(const QImage&, const std::vector<DetectedFace>&, std::vector<FoundFace>&) const override
    {
        return QString();
    }
    // A face answered by the face index may come without its picture.
    bool hasRead(const FoundFace& face) const override { return face.blank || !face.picture.isNull(); }
    bool comparesPictures() const override { return true; }
    void prepare(const std::vector<FoundFace>& person) override;
    Score score(const FoundFace& face) const override;

private:
    std::vector<PixelCanvas> m_person;
};

} // namespace morvelin
