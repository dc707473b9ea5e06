// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include "search/FaceIndex.h"

#include <QByteArray>
#include <QString>

namespace morvelin {

// How an entry is written into the face index: the key a photo is found by, and its faces as bytes.
class FaceIndexCoding {
public:
    // The name's own bytes, links resolved: two names that differ in one byte are two photos, even
    // when one of them is not valid UTF-8.
    static QByteArray keyOf(const QString& photo);
    static QByteArray encodeFaces(const FaceIndex::Entry& entry);
    // Fills the entry's sizes and faces; false for bytes that are not what encodeFaces wrote for the
    // entry's error.
    static bool decodeFaces(const QByteArray& stored, qint64 expectedCount, FaceIndex::Entry& entry);
};

} // namespace morvelin
