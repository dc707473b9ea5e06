// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QStringList>
#include <QTextStream>

namespace morvelin {

// `index [--index FILE] --stats | --clear | --prune`: what the face index holds and where, emptying
// it, or forgetting the photos that are gone; the watched folders' switches go to WatchedFoldersCommand.
class IndexCommand {
public:
    static int run(const QStringList& operands, QTextStream& out, QTextStream& err);
    // The index a verb uses: `given` by --index, else the one the settings name, else the default.
    static QString pathOf(const QString& given);
    // The mistake of giving none of the verb's switches, or several.
    static QString oneAction();
};

} // namespace morvelin
