// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>
#include <QImageIOHandler>

namespace morvelin {

// The turn a picture's EXIF metadata asks for before it is shown: its orientation tag, read from the
// TIFF structure EXIF is written in, with or without the "Exif\0\0" that JPEG puts before it.
class ExifOrientation {
public:
    // None where the data holds no valid orientation.
    static QImageIOHandler::Transformations of(const QByteArray& exif);
};

} // namespace morvelin
