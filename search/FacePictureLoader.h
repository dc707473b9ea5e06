// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include "engine/PixelCanvas.h"

#include <QImage>
#include <QString>

#include <optional>

namespace morvelin {

// Turns images into face pictures: pixels as units, colours as they are stored, no scaling.
class FacePictureLoader {
public:
    struct Result {
        std::optional<PixelCanvas> picture;
        QString error; // why the file could not be read, empty on success
    };

    static PixelCanvas fromImage(const QImage& image);
    static Result loadFile(const QString& path);
};

} // namespace morvelin
