// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

#include <optional>

// A test that starts its own program again as a child process (to be a second instance, to run
// before any application exists, to be found elsewhere on disk) names the environment variable that
// marks the child and what the child does. The shared mains run the child instead of the tests.
class TestChild {
public:
    // `role`: the variable's value. Returns the child's exit status.
    using Run = int (*)(const QString& role, int argc, char* argv[]);

    // Registered from a namespace-scope object of the test file, before main.
    TestChild(const char* variable, Run run);

    // The child's exit status when this process was started as one.
    static std::optional<int> runIfChild(int argc, char* argv[]);
};
