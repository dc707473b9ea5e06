#pragma once

#include <QIcon>

namespace morvelin {

// The name the desktop knows the program by: its desktop file, its icon in the icon theme, and the
// application id Wayland compositors match windows with.
inline constexpr char AppId[] = "io.github.facemorvelin.FaceMorvelin";

// The program's icon, for its windows and the tray: the installed theme's copy when the icon theme has
// one, else the copy built into the program (so an uninstalled build looks the same).
QIcon AppIcon();

} // namespace morvelin
