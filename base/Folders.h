// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

namespace morvelin {

// Folders and the names of paths, for the search, the verbs and the windows alike; nothing here needs
// a display. Text results are empty on failure.

// A folder only this process uses, removed when the program ends, so temporary photos never
// outlive it and no other user can read or replace them. Safe to call from any thread. The first call
// removes the private folders of this user's runs that ended without removing theirs (killed).
QString TempFolder();
// The program's own folder, with one trailing "/"; empty when no application exists yet.
QString AppFolder();

// "/a/b/c.jpg" gives "/a/b/" and "c.jpg".
QString FolderOfPath(const QString& path);
QString NameOfPath(const QString& path);

// The folder with exactly one trailing "/" ("/" stays "/"); empty stays empty.
QString FolderWithSeparator(const QString& folder);

} // namespace morvelin
