// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

struct sqlite3;

namespace morvelin {

class FaceIndexStore;

// The one thread that writes the face index: takes what the scans queue and commits it in batches,
// so no scan and no window waits on the disk. A failed write (disk full, read-only folder) stops
// writing for good, and so does an emptying of the index by another process: what this one found
// must not come back.
class FaceIndexWriter {
public:
    // One change, run inside the batch's transaction; false fails the batch.
    using Job = std::function<bool(sqlite3*)>;

    explicit FaceIndexWriter(std::shared_ptr<FaceIndexStore> store);
    // Writes what is still queued.
    ~FaceIndexWriter();
    FaceIndexWriter(const FaceIndexWriter&) = delete;
    FaceIndexWriter& operator=(const FaceIndexWriter&) = delete;

    void queue(Job job);
    // Returns when everything queued so far is written (or given up).
    void flush();
    // Whether a write failed, so that nothing more is written.
    bool failed();
    // Empties the index on this thread, in turn with the writes queued before; false when it could not.
    bool clear();

private:
    void loop();
    QString commit(sqlite3* db, const std::vector<Job>& batch);
    void fail(const QString& why);

    std::shared_ptr<FaceIndexStore> m_store;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<Job> m_jobs;
    bool m_stopping = false;
    bool m_busy = false;
    bool m_failed = false;
    qint64 m_generation = -1; // the emptyings seen; only the writer's thread uses it once it runs
    std::thread m_thread;
};

} // namespace morvelin
