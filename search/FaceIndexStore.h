// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>
#include <QString>

#include <mutex>

struct sqlite3;

namespace morvelin {

// The face index's database as both the readers and the writer see it; outlives either. A damaged
// file is moved aside and started anew when it is opened, one of an older program emptied and made
// anew; a file this process may not write is only read.
class FaceIndexStore {
public:
    FaceIndexStore(QString path, QByteArray version);
    ~FaceIndexStore();
    FaceIndexStore(const FaceIndexStore&) = delete;
    FaceIndexStore& operator=(const FaceIndexStore&) = delete;

    // Keeps the first line said: the cause, not what followed from it.
    void say(const QString& line);
    QString notice() const;

    // The readers' connection; null when the index cannot be used.
    sqlite3* reader() const { return m_read; }
    // An index this process may not change (another user's, on a share): it only answers.
    bool readOnly() const { return m_readOnly; }
    const QString& path() const { return m_path; }
    const QByteArray& version() const { return m_version; }

private:
    sqlite3* open();
    sqlite3* openReadOnly();
    sqlite3* ready(sqlite3* db);
    sqlite3* without(const QString& line);
    QString moveAside();

    QString m_path;
    QByteArray m_version;
    sqlite3* m_read = nullptr;
    bool m_readOnly = false;
    mutable std::mutex m_noticeMutex;
    QString m_notice;
};

} // namespace morvelin
