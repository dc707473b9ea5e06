// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include "controls/DrivePlace.h"

#include <QStyle>

#include <vector>

namespace morvelin {

// The places a Linux desktop user looks for photos, in the folder picker's order: the desktop, the
// documents and pictures folders, the home folder, "My Computer" with its drives, and the folders on
// the desktop. Folders that do not exist are left out.
class SystemPlaces {
public:
    static std::vector<DrivePlace> list();

    // The desktop theme's icon, or the style's own when the theme has none (or there is no theme).
    static QIcon themeIcon(const QString& name, QStyle::StandardPixmap fallback);
    static QIcon folderIcon(const QString& path);
};

} // namespace morvelin
