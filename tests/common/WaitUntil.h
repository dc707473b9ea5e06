// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <functional>

// Runs the event loop until the condition holds; false when it still does not after timeoutMs.
bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 20000);
