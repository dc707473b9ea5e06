// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

namespace morvelin {

// Names for the temporary JPEGs handed to the detector: folder + prefix + timer text + ".jpg".
class TemporaryPhotoName {
public:
    // Creates the file empty and returns its path, or an empty text when the folder is empty or not writable.
    // The timer text repeats within a hundredth of a second, and scans run in parallel, so a name that
    // is taken gets "_2", "_3", ... before ".jpg" instead of overwriting another scan's photo.
    static QString create(const QString& folder, const QString& prefix);
    // Why create() failed in `folder`, for a message; an empty folder means none could be made.
    static QString whyNotIn(const QString& folder);
};

} // namespace morvelin
