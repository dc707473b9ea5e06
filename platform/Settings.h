// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QStringList>

namespace morvelin {

// The program's per-user settings in ~/.config/Face Morvelin/Face Morvelin.conf: "ShowTip" in section
// "Welcome", whether the welcome window comes up at start, kept as the text "1" or "0"; in section
// "Search", "Matcher", the name of the matcher the user chose to compare faces, and "LookIn" and
// "SubFolders", where the last search looked; in section "Index", "Path", a face index the user keeps
// elsewhere (next to the photos on a share, say); in section "Watch", "Folders", the folders the tray
// program keeps indexed.
class Settings {
public:
    // The stored text; "1" when nothing is stored or the store cannot be read, so a broken store
    // never hides the window that explains how to use the program.
    static QString showTip();

    // Only the exact text "1" asks for the welcome window.
    static bool showWelcome();

    // Stores "1" or "0" at once. False when the store cannot be written.
    static bool setShowTip(bool show);

    // The stored matcher's name as stored; empty when none is (the program's default then applies).
    static QString matcher();
    static bool setMatcher(const QString& name);

    // The folder the last search looked in, when it still is one; else the user's Pictures folder,
    // else the home folder: never the root, whose whole disk a search with sub-folders would walk.
    static QString lookIn();
    static bool searchSubFolders();
    // Both at once, as a search starts.
    static bool setLookIn(const QString& folder, bool subFolders);
    // The face index the user chose to keep elsewhere; `fallback` when none is set.
    static QString indexPath(const QString& fallback);

    // The watched folders, absolute and cleaned, in the order they were added.
    static QStringList watchedFolders();
    // As the list keeps a folder: absolute (against the working folder) and cleaned.
    static QString watchedForm(const QString& folder);
    // Adds `folder` (in its watched form) unless it is there; false when the store cannot be written.
    static bool watchFolder(const QString& folder);
    // Takes `folder` (in its watched form) off the list; false when it was not on it or the store
    // cannot be written.
    static bool unwatchFolder(const QString& folder);
};

} // namespace morvelin
