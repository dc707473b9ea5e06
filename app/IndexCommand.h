// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QStringList>
#include <QTextStream>

namespace morvelin {

// `index --stats | --clear`: what the face index holds and where, or emptying it; the watched
// folders' switches go to WatchedFoldersCommand.
class IndexCommand {
public:
    static int run(const QStringList& operands, QTextStream& out, QTextStream& err);
    // The mistake of giving none of the verb's switches, or several.
    static QString oneAction();
};

} // namespace morvelin
