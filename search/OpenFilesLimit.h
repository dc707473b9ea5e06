// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

namespace morvelin {

// How many photos may be scanned at once within the process's limit of open files (ulimit -n): each
// scan's worker thread holds its event loop's descriptor, and the scan its photo, ImageMagick's copy
// of it and a pixel cache. A thread that cannot get its descriptor aborts the whole program, and a
// photo that cannot be opened counts as unreadable, so the search takes no more scans than fit.
// The one place the command line and the window ask.
class OpenFilesLimit {
public:
    // The most a scan holds at once: its thread's event loop, its photo, ImageMagick's descriptor of
    // the same photo and a pixel cache file. Measured over JPEG, PNG, TGA and PCX photos, the search
    // needed 1.7 more descriptors for each scan added (see the README).
    static constexpr int perScan = 4;
    // What the rest of a search opens once it runs: the face index's connections and files, the
    // detector's model files while they load. One scan with the index worked from 12 free.
    static constexpr int forTheSearch = 10;

    // Descriptors still free under the soft limit: the limit minus those open now.
    static int available();
    // At most `wanted`, as many scans as the free descriptors allow; 0 when not even one fits.
    static int scansWithin(int wanted);
    // The soft limit itself, for messages.
    static int limit();
};

} // namespace morvelin
