// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/OpenFilesLimit.h"

#include <algorithm>
#include <climits>

#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace morvelin {

namespace {

int openNow()
{
    DIR* listing = ::opendir("/proc/self/fd");
    if (listing == nullptr) {
        // No /proc: every descriptor below the limit is tried.
        int open = 0;
        for (int descriptor = 0; descriptor < OpenFilesLimit::limit(); ++descriptor) {
            open += ::fcntl(descriptor, F_GETFD) != -1 ? 1 : 0;
        }
        return open;
    }
    int entries = 0;
    while (const dirent* entry = ::readdir(listing)) {
        entries += entry->d_name[0] != '.' ? 1 : 0;
    }
    ::closedir(listing);
    // The listing's own descriptor is among the entries.
    return entries - 1;
}

} // namespace

int OpenFilesLimit::limit()
{
    rlimit files{};
    if (::getrlimit(RLIMIT_NOFILE, &files) != 0 || files.rlim_cur == RLIM_INFINITY || files.rlim_cur > INT_MAX) {
        return INT_MAX;
    }
    return int(files.rlim_cur);
}

int OpenFilesLimit::available()
{
    const int total = limit();
    return total == INT_MAX ? INT_MAX : std::max(0, total - openNow());
}

int OpenFilesLimit::scansWithin(int wanted)
{
    const int free = available();
    if (free == INT_MAX) {
        return wanted;
    }
    return std::clamp((free - forTheSearch) / perScan, 0, wanted);
}

} // namespace morvelin
