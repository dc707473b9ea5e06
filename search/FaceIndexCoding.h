// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include "search/FaceIndex.h"

#include <QByteArray>
#include <QImage>
#include <QString>

namespace morvelin {

// How an entry is written into the face index: the key a photo is found by, and its faces as four
// blobs, each with its own checksum, so that a search reads only what it compares — the boxes and
// vectors always, the thumbnails only when a face is listed, the grid pictures only for the grid.
class FaceIndexCoding {
public:
    struct Stored {
        QByteArray faces;      // the photo's sizes; each face's box, key points and vector length
        QByteArray vectors;    // every face's feature vector, one after another, in half precision
        QByteArray thumbnails; // a small JPEG per face
        QByteArray pictures;   // the grid pictures; empty when the search that scanned the photo read none
    };

    // The name's own bytes, links resolved: two names that differ in one byte are two photos, even
    // when one of them is not valid UTF-8.
    static QByteArray keyOf(const QString& photo);
    static Stored encode(const FaceIndex::Entry& entry, bool withPictures);
    // Each fills its part of the entry; false for bytes that are not what encode() wrote for the
    // entry's error and face count. decodeFaces comes first: the others need the faces.
    static bool decodeFaces(const QByteArray& faces, const QByteArray& vectors, qint64 expectedCount,
                            FaceIndex::Entry& entry);
    static bool decodeThumbnails(const QByteArray& thumbnails, FaceIndex::Entry& entry);
    static bool decodePictures(const QByteArray& pictures, FaceIndex::Entry& entry);
    static QImage thumbnailFrom(const QByteArray& jpeg);
};

} // namespace morvelin
