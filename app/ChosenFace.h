// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include "search/FaceQuery.h"
#include "search/FoundFace.h"
#include "search/SourcePicture.h"

#include <QFuture>
#include <QImage>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace morvelin {

// The faces of the person picked in the gallery (up to five, from one or several source pictures),
// made the query of a search the way the verbs make it. Each face is read on a worker as a scan
// reads the faces it finds — by every matcher that can be used, so that the check box may change
// until Search — from the detector's findings the gallery kept, and the window never waits for it.
class ChosenFace {
public:
    static constexpr int maxFaces = FaceQuery::largestPerson;

    // Which face of which acquisition: the gallery's items carry it.
    struct Key {
        int acquisition = 0;
        int index = 0; // 0-based, in the detector's order
        friend bool operator==(const Key&, const Key&) = default;
    };

    using Found = std::shared_ptr<const SourcePicture::Result>;

    // Makes face `key.index` of `found` (the picture the gallery's faces were found in) the only one.
    void pick(const Key& key, const QImage& thumbnail, const Found& found, const QString& dataPath);
    // Adds the face, or removes it when it is chosen already. False when five are chosen already and
    // nothing changed.
    bool toggle(const Key& key, const QImage& thumbnail, const Found& found, const QString& dataPath);
    void clear();

    bool isPicked() const { return !m_faces.empty(); }
    int count() const { return int(m_faces.size()); }
    bool contains(const Key& key) const;
    std::vector<Key> keys() const;
    // As picked (unfiltered), in the order they were chosen.
    std::vector<QImage> thumbnails() const;

    // Every chosen face has been read, so forSearch returns at once.
    bool isRead() const;
    // Calls `then` on `context`'s thread once every face chosen now has been read; not when `context`
    // is gone by then.
    void whenRead(QObject* context, std::function<void()> then) const;

    // The query for a search compared by the matcher `matcherName`; null with `problem` set when it
    // cannot be made.
    std::shared_ptr<const FaceQuery> forSearch(const QString& matcherName, const QString& dataPath, QString& problem);

private:
    struct Face {
        Key key;
        QImage thumbnail;
        QFuture<FoundFace> found;
    };

    void add(const Key& key, const QImage& thumbnail, const Found& found, const QString& dataPath);

    std::vector<Face> m_faces;
};

} // namespace morvelin
