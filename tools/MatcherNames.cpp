// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

// Prints the names of the matchers the program knows, one a line: the completions offer them.
#include "search/MatcherRegistry.h"

#include <cstdio>

int main()
{
    for (const QString& name : morvelin::MatcherRegistry::names()) {
        std::printf("%s\n", qPrintable(name));
    }
    return 0;
}
