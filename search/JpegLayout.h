// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QSize>

class QIODevice;

namespace morvelin {

// What a JPEG's markers say before any pixel is decoded: its frame and how many scans it has. A
// progressive JPEG is decoded again and again, once per scan, and holds every coefficient of the
// picture meanwhile, so both bound what decoding it costs.
class JpegLayout {
public:
    // Reads `device` from where it stands up to the end of the picture or until more than
    // `maxScans` scans have been seen.
    static JpegLayout read(QIODevice& device, int maxScans);

    bool valid = false;
    bool progressive = false;
    int components = 0;
    int scans = 0;
    QSize size;
};

} // namespace morvelin
