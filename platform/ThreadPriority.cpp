// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "platform/ThreadPriority.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace morvelin {

namespace {

// From linux/ioprio.h, which glibc does not wrap.
constexpr int ioprioWhoProcess = 1;
constexpr int ioprioClassIdle = 3;
constexpr int ioprioClassShift = 13;

} // namespace

bool ThreadPriority::lowerCurrentThread()
{
    // On Linux a "process" id given to these calls may be a thread's id, and then only that thread changes.
    const auto thread = static_cast<id_t>(::gettid());
    const bool nice = ::setpriority(PRIO_PROCESS, thread, 19) == 0;
    const bool idle = ::syscall(SYS_ioprio_set, ioprioWhoProcess, int(thread), ioprioClassIdle << ioprioClassShift) == 0;
    return nice && idle;
}

} // namespace morvelin
