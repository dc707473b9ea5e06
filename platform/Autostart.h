// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

namespace morvelin {

// Whether the program starts at login: the XDG autostart entry the desktop reads when the user logs
// in, written and removed at the user's word and nowhere else.
class Autostart {
public:
    // `program`: the executable the entry starts. `configFolder`: the user's configuration folder
    // ($XDG_CONFIG_HOME, ~/.config without it); the entry lives in its autostart folder.
    explicit Autostart(const QString& program, const QString& configFolder = defaultConfigFolder());

    bool isEnabled() const;
    // Writes or removes the entry; true when it is as asked afterwards.
    bool setEnabled(bool enabled) const;
    QString path() const { return m_path; }
    // The entry's Exec line: the program's name alone when PATH finds this very program (an installed
    // one stays startable after an update moves nothing), its full path otherwise.
    QString execLine() const;

    static QString defaultConfigFolder();

private:
    QString m_program;
    QString m_path;
};

} // namespace morvelin
