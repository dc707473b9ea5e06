// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

namespace morvelin {

// The program's names, each written once.
struct ProgramNames {
    // The title of its windows, its tray icon and its settings file.
    static QString title() { return QStringLiteral("Face Morvelin"); }
    // The executable, as the verbs name themselves in messages.
    static QString executable() { return QStringLiteral("face-morvelin"); }
    // The name the desktop knows the program by: its desktop file, its icon in the icon theme, and the
    // application id Wayland compositors match windows with.
    static constexpr char appId[] = "io.github.facemorvelin.FaceMorvelin";
};

} // namespace morvelin
