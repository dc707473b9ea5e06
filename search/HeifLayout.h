// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QSize>

class QIODevice;

namespace morvelin {

// What an HEIF file's item properties say before any pixel is decoded. HEIF turns a picture by
// properties of its own (irot, imir), which libheif applies while decoding; phones write them, and
// an EXIF orientation beside them says the same again. Files converted without them carry the EXIF
// orientation alone.
class HeifLayout {
public:
    // Reads box headers and the pictures' sizes only, from the start of `device`.
    static HeifLayout read(QIODevice& device);

    bool turnsItself = false; // a rotation or a mirror among the properties
    QSize largest;            // the largest size a picture or tile claims, as stored
};

} // namespace morvelin
