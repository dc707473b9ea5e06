// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QStringList>

namespace morvelin {

// The help the program prints, in the layout help2man reads: one "Usage:" line for each form of the
// command (never wrapped), one line saying what it does, and options as "  --opt ARG   text". A
// manual page is made from exactly these texts.
class VerbHelp {
public:
    // The verbs in the order the general help lists them.
    static QStringList verbs();
    // What `face-morvelin --help` prints.
    static QString general();
    // What `face-morvelin VERB --help` prints; empty for a word that is no verb.
    static QString of(const QString& verb);
};

} // namespace morvelin
