// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace morvelin {

// The photo types a search reads: which names are meant as photos, and which decoder a file's first
// bytes call for. A type is named as its decoder knows it: Qt's format name in lower case ("jpeg",
// "webp"), ImageMagick's coder in capitals ("TGA", "HEIC").
class PhotoTypes {
public:
    // How many bytes of a file's start typeOfContent() looks at.
    static constexpr int signatureBytes = 16;

    // By the name's extension, any case (.jpg .jpeg .jpe .tif .tiff .bmp .gif .png .webp .pcx .tga
    // .jp2 .j2k .heic .heif .avif); empty for a name that is not a photo's.
    static QByteArray typeOfName(const QString& path);
    static bool isPhotoName(const QString& path) { return !typeOfName(path).isEmpty(); }
    // Every ending typeOfName knows, without the dot, lower case.
    static QStringList extensions();
    // The type the first bytes announce; empty when they announce none (TGA has no signature).
    static QByteArray typeOfContent(const QByteArray& head);
    static bool isMagickType(const QByteArray& type);
    // Why a file named `path` is not read: "not an image type this program reads (.xcf)".
    static QString notReadReason(const QString& path);
};

} // namespace morvelin
