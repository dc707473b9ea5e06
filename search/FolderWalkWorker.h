// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include "search/FolderWalk.h"

#include <QString>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <thread>

namespace morvelin {

// A FolderWalk on a thread of its own, so that a listing or a stat that hangs on a dead network mount
// holds up neither the thread that takes the entries nor a scan's thread. Entries come in the walk's
// order through a small queue; the worker waits while it is full, so memory stays bounded however
// large the folder.
class FolderWalkWorker {
public:
    struct Start {
        QString folder{};
        bool subDirs = false;
        QString privateFolder{};
        FolderWalk::Opener open{};
    };

    // A Photo, a Skipped entry or Finished; entries the search has no use for are not handed over.
    struct Entry {
        FolderWalk::Step step = FolderWalk::Step::Finished;
        QString path;
        QString skipReason;
        bool skippedFolder = false;
        // The walk's counts once it had reached this entry.
        int unreadableFolders = 0;
        int specialFiles = 0;
    };

    static constexpr std::size_t queueSize = 256;

    // `wake` runs on the worker when an entry arrives after `take` found none; it must only post to
    // the taking thread, and is never called once this object is gone.
    FolderWalkWorker(Start start, std::function<void()> wake);
    // Does not wait for a worker stuck in a system call: it ends by itself when the call returns.
    ~FolderWalkWorker();
    FolderWalkWorker(const FolderWalkWorker&) = delete;
    FolderWalkWorker& operator=(const FolderWalkWorker&) = delete;

    // Never waits: the next entry, or none when the worker has not got that far yet. Finished from
    // the stop on, whatever the worker is doing.
    std::optional<Entry> take();
    void stop();
    // Waits up to `grace` for the worker's thread to end; false while it is still inside the walk.
    bool endsWithin(std::chrono::milliseconds grace) const;

    // Long enough for a worker between two entries to notice the stop, short enough not to be felt.
    static constexpr std::chrono::milliseconds endingGrace{100};

private:
    struct Shared;

    static void walk(Shared& shared, const Start& start);
    static Entry walkUntilDone(Shared& shared, const Start& start);

    std::shared_ptr<Shared> m_shared;
    std::thread m_thread;
};

} // namespace morvelin
