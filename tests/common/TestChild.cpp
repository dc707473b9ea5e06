// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "TestChild.h"

#include <QtGlobal>

#include <utility>
#include <vector>

namespace {

std::vector<std::pair<const char*, TestChild::Run>>& children()
{
    static std::vector<std::pair<const char*, TestChild::Run>> registered;
    return registered;
}

} // namespace

TestChild::TestChild(const char* variable, Run run)
{
    children().emplace_back(variable, run);
}

std::optional<int> TestChild::runIfChild(int argc, char* argv[])
{
    for (const auto& [variable, run] : children()) {
        const QString role = qEnvironmentVariable(variable);
        if (!role.isEmpty()) {
            return run(role, argc, argv);
        }
    }
    return std::nullopt;
}
