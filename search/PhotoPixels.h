// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include "search/FoundFace.h"

#include <QJsonObject>
#include <QPointF>
#include <QRect>
#include <QSize>

namespace morvelin {

// Takes places in a photo scaled for its scan back to the photo's own pixels (as its orientation
// turns it), where a script reading `--json` draws them.
class PhotoPixels {
public:
    PhotoPixels(const QSize& photoSize, const QSize& scanSize);

    QRect box(const QRect& scanned) const;
    QPointF point(const QPointF& scanned) const;
    // The face's place for `--json`: x1, x2, y1, y2 (right and bottom exclusive) and "keyPoints", the
    // detector's [x, y] pairs in its order.
    QJsonObject describe(const FoundFace& face) const;

private:
    double m_sx = 1;
    double m_sy = 1;
};

} // namespace morvelin
