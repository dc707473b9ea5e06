// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QStringList>
#include <QTextStream>

namespace morvelin {

// `compare A B`: the distance, score and list key of two face pictures taken as they are.
class CompareCommand {
public:
    static int run(const QStringList& operands, QTextStream& out, QTextStream& err);
};

} // namespace morvelin
