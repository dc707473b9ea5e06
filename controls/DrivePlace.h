// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QIcon>
#include <QString>

namespace morvelin {

// One entry of the folder picker's list as it is filled.
struct DrivePlace {
    QString text;
    QString tag; // the folder, ending in "/" only for a drive; or a name such as "My Computer"
    QIcon icon;
    int indent = 0;
    bool isDrive = false;
};

} // namespace morvelin
