// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>

class QIODevice;

namespace morvelin {

// What a WebP's chunks hold besides the picture. Qt's reader decodes the pixels but leaves the EXIF
// chunk, and with it the orientation a camera or phone wrote, unread.
class WebpLayout {
public:
    // The EXIF chunk's data, empty when there is none; reads the chunk headers only, from the start.
    static QByteArray exifOf(QIODevice& device);
};

} // namespace morvelin
