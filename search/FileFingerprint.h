// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>
#include <QString>

namespace morvelin {

// What a photo's bytes are, whatever its name, folder or disk: lets the face index answer a photo
// that was moved, renamed, copied or reached through another mount. It reads the size and the first
// and last 64 KB — a photo's header (with the camera's own time stamp) and the end of its picture
// data — so that a network share sends 128 KB per photo, not the whole file. Files of up to 128 KB
// are read whole. The index trusts it only together with the size and modification time.
class FileFingerprint {
public:
    static constexpr qint64 sampleBytes = 64 * 1024;

    // 16 bytes; empty when the file cannot be read.
    static QByteArray of(const QString& path);
};

} // namespace morvelin
