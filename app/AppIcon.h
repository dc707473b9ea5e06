// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QIcon>

namespace morvelin {

// The program's icon, for its windows and the tray: the installed theme's copy when the icon theme has
// one, else the copy built into the program (so an uninstalled build looks the same).
QIcon AppIcon();

} // namespace morvelin
