// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QStringList>
#include <QTextStream>

namespace morvelin {

// `index --stats | --clear`: what the face index holds and where, or emptying it.
class IndexCommand {
public:
    static int run(const QStringList& operands, QTextStream& out, QTextStream& err);
};

} // namespace morvelin
