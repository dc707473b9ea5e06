// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/FolderWalkWorker.h"

#include <QtGlobal>

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <system_error>

namespace morvelin {

// What the worker and the taker share: it outlives whichever of them ends last, so a worker coming
// back from a hung system call finds it still there.
struct FolderWalkWorker::Shared {
    std::mutex mutex;
    std::condition_variable roomOrStop;
    std::condition_variable ended;
    std::deque<Entry> entries;
    std::function<void()> wake;
    bool wanted = false; // `take` found nothing: the next entry wakes the taker
    bool stopNow = false;
    bool done = false;

    // On the worker: false once stopped.
    bool handOver(Entry entry)
    {
        std::unique_lock lock(mutex);
        roomOrStop.wait(lock, [this] { return stopNow || entries.size() < queueSize; });
        if (stopNow) {
            return false;
        }
        push(std::move(entry));
        return true;
    }

    // On the worker, at the end: done, with what the walk counted in the end.
    void finish(Entry last)
    {
        std::lock_guard lock(mutex);
        if (!stopNow) {
            push(std::move(last));
        }
        done = true;
        ended.notify_all();
    }

    bool stopped()
    {
        std::lock_guard lock(mutex);
        return stopNow;
    }

    // With the mutex held.
    void push(Entry entry)
    {
        entries.push_back(std::move(entry));
        if (wanted && wake) {
            wanted = false;
            wake();
        }
    }
};

FolderWalkWorker::FolderWalkWorker(Start start, std::function<void()> wake)
    : m_shared(std::make_shared<Shared>())
{
    m_shared->wake = std::move(wake);
    try {
        m_thread = std::thread([shared = m_shared, start] { walk(*shared, start); });
    } catch (const std::system_error& error) {
        // The folder is not searched, and the summary says why.
        const QString reason = QStringLiteral("cannot list it: %1").arg(QString::fromLocal8Bit(error.what()));
        m_shared->entries.push_back({FolderWalk::Step::Skipped, start.folder, reason, true, 1, 0});
        m_shared->entries.push_back({});
        m_shared->done = true;
    }
}

FolderWalkWorker::~FolderWalkWorker()
{
    stop();
    {
        std::lock_guard lock(m_shared->mutex);
        m_shared->wake = nullptr;
    }
    const bool done = endsWithin(endingGrace);
    if (!m_thread.joinable()) {
        return;
    }
    if (done) {
        m_thread.join();
    } else {
        m_thread.detach();
    }
}

std::optional<FolderWalkWorker::Entry> FolderWalkWorker::take()
{
    std::lock_guard lock(m_shared->mutex);
    if (m_shared->stopNow) {
        return Entry{};
    }
    if (m_shared->entries.empty()) {
        m_shared->wanted = true;
        return std::nullopt;
    }
    Entry entry = std::move(m_shared->entries.front());
    m_shared->entries.pop_front();
    m_shared->roomOrStop.notify_one();
    return entry;
}

void FolderWalkWorker::stop()
{
    std::lock_guard lock(m_shared->mutex);
    m_shared->stopNow = true;
    m_shared->entries.clear();
    m_shared->roomOrStop.notify_one();
}

bool FolderWalkWorker::endsWithin(std::chrono::milliseconds grace) const
{
    std::unique_lock lock(m_shared->mutex);
    return m_shared->ended.wait_for(lock, grace, [this] { return m_shared->done; });
}

void FolderWalkWorker::walk(Shared& shared, const Start& start)
{
    Entry last;
    try {
        last = walkUntilDone(shared, start);
    } catch (const std::exception& error) {
        qWarning("the folder walk failed: %s", error.what());
    }
    // After the walk's folders are closed: a taker that sees the end finds the worker done with them.
    shared.finish(std::move(last));
}

FolderWalkWorker::Entry FolderWalkWorker::walkUntilDone(Shared& shared, const Start& start)
{
    // Made here: opening the first folder may hang too.
    FolderWalk walk(start.folder, start.subDirs, start.privateFolder, start.open);
    Entry entry;
    while (!shared.stopped()) {
        entry.step = walk.next(entry.path);
        if (entry.step == FolderWalk::Step::Finished) {
            break;
        }
        if (entry.step == FolderWalk::Step::Other) {
            continue;
        }
        const bool skipped = entry.step == FolderWalk::Step::Skipped;
        entry.skipReason = skipped ? walk.skipReason() : QString();
        entry.skippedFolder = skipped && walk.skippedFolder();
        entry.unreadableFolders = walk.unreadableFolders();
        entry.specialFiles = walk.specialFiles();
        if (!shared.handOver(entry)) {
            break;
        }
    }
    return {FolderWalk::Step::Finished, QString(), QString(), false, walk.unreadableFolders(), walk.specialFiles()};
}

} // namespace morvelin
