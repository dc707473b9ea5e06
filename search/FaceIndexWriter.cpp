// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/FaceIndexWriter.h"

#include "search/FaceIndexDatabase.h"
#include "search/FaceIndexStore.h"

#include <sqlite3.h>

namespace morvelin {

namespace {

constexpr std::size_t batchSize = 256;

} // namespace

FaceIndexWriter::FaceIndexWriter(std::shared_ptr<FaceIndexStore> store)
    : m_store(std::move(store))
    , m_generation(FaceIndexDatabase::generationOf(m_store->reader())) // as the index was opened, not as the thread starts
    , m_thread([this] { loop(); })
{
}

FaceIndexWriter::~FaceIndexWriter()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void FaceIndexWriter::queue(Job job)
{
    {
        const std::lock_guard lock(m_mutex);
        if (m_failed) {
            return;
        }
        m_jobs.push_back(std::move(job));
    }
    m_wake.notify_all();
}

void FaceIndexWriter::flush()
{
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [this] { return m_jobs.empty() && !m_busy; });
}

bool FaceIndexWriter::failed()
{
    const std::lock_guard lock(m_mutex);
    return m_failed;
}

bool FaceIndexWriter::clear()
{
    queue([this](sqlite3* db) {
        using Db = FaceIndexDatabase;
        if (!Db::execute(db, "PRAGMA secure_delete=ON") || !Db::execute(db, "INSERT INTO clears(at) VALUES(strftime('%s'))")
            || !Db::execute(db, "DELETE FROM photos")) {
            return false;
        }
        m_generation = FaceIndexDatabase::generationOf(db);
        return true;
    });
    flush();
    const std::lock_guard lock(m_mutex);
    return !m_failed;
}

void FaceIndexWriter::loop()
{
    sqlite3* db = FaceIndexDatabase::open(m_store->path());
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stopping || !m_jobs.empty(); });
        if (m_jobs.empty()) {
            break;
        }
        std::vector<Job> batch;
        while (!m_jobs.empty() && batch.size() < batchSize) {
            batch.push_back(std::move(m_jobs.front()));
            m_jobs.pop_front();
        }
        m_busy = true;
        lock.unlock();
        const QString refused = db ? commit(db, batch) : FaceIndexDatabase::failureOf(db);
        lock.lock();
        m_busy = false;
        if (!refused.isEmpty()) {
            fail(refused);
        }
        m_idle.notify_all();
    }
    m_idle.notify_all();
    lock.unlock();
    sqlite3_close(db);
}

// Why the batch was not written, empty when it was.
QString FaceIndexWriter::commit(sqlite3* db, const std::vector<Job>& batch)
{
    if (!FaceIndexDatabase::execute(db, "BEGIN IMMEDIATE")) {
        return FaceIndexDatabase::failureOf(db);
    }
    if (FaceIndexDatabase::generationOf(db) != m_generation) {
        FaceIndexDatabase::execute(db, "ROLLBACK");
        return QStringLiteral("it was emptied while this search ran");
    }
    for (const Job& job : batch) {
        if (!job(db)) {
            const QString why = FaceIndexDatabase::failureOf(db);
            FaceIndexDatabase::execute(db, "ROLLBACK");
            return why;
        }
    }
    if (FaceIndexDatabase::execute(db, "COMMIT")) {
        return QString();
    }
    const QString why = FaceIndexDatabase::failureOf(db);
    FaceIndexDatabase::execute(db, "ROLLBACK");
    return why;
}

// Called with the lock held.
void FaceIndexWriter::fail(const QString& why)
{
    if (!m_failed) {
        m_store->say(QStringLiteral("The face index %1 stopped storing what searches find (%2); searches go on without it.")
                         .arg(m_store->path(), why));
    }
    m_failed = true;
    m_jobs.clear();
}

} // namespace morvelin
