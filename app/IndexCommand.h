// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QStringList>
#include <QTextStream>

namespace morvelin {

// `index [--index PATH] --stats | --clear | --prune`: what the face index holds and where, emptying
// it, or forgetting the photos that are gone.
class IndexCommand {
public:
    static int run(const QStringList& operands, QTextStream& out, QTextStream& err);
    // The index a verb uses: `given` by --index, else the one the settings name, else the default.
    static QString pathOf(const QString& given);
};

} // namespace morvelin
