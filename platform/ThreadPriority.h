// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

namespace morvelin {

// Background work that must never be felt: the calling thread gets the lowest CPU priority (nice 19)
// and the idle I/O class, so it only runs and reads when nothing else wants the cores or the disk.
class ThreadPriority {
public:
    // Only the calling thread changes, not the process. False when either could not be set; the
    // work then still runs, at the priority it had.
    static bool lowerCurrentThread();
};

} // namespace morvelin
