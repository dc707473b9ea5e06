// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/FaceIndexStore.h"

#include "search/FaceIndexDatabase.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

namespace morvelin {

FaceIndexStore::FaceIndexStore(QString path, QByteArray version)
    : m_path(std::move(path))
    , m_version(std::move(version))
{
    m_read = open();
}

FaceIndexStore::~FaceIndexStore()
{
    sqlite3_close(m_read);
}

void FaceIndexStore::say(const QString& line)
{
    const std::lock_guard lock(m_noticeMutex);
    if (m_notice.isEmpty()) {
        m_notice = line;
    }
}

QString FaceIndexStore::notice() const
{
    const std::lock_guard lock(m_noticeMutex);
    return m_notice;
}

// A connection to a sound index, moving a damaged file aside first; null when there is none.
sqlite3* FaceIndexStore::open()
{
    using Soundness = FaceIndexDatabase::Soundness;
    if (QFileInfo::exists(m_path) && !FaceIndexDatabase::writable(m_path)) {
        return openReadOnly();
    }
    if (!FaceIndexDatabase::prepareFile(m_path)) {
        return without(QStringLiteral("The face index cannot be kept in %1; searching without it.").arg(m_path));
    }
    sqlite3* db = FaceIndexDatabase::open(m_path);
    const Soundness found = db ? FaceIndexDatabase::soundness(db) : Soundness::Unusable;
    if (found == Soundness::Sound) {
        return ready(db);
    }
    if (found == Soundness::Outdated) {
        if (FaceIndexDatabase::renewSchema(db)) {
            return db;
        }
        return ready(db);
    }
    const QString why = FaceIndexDatabase::failureOf(db);
    sqlite3_close(db);
    if (found == Soundness::Unusable) {
        return without(QStringLiteral("The face index %1 cannot be used (%2); searching without it.").arg(m_path, why));
    }
    const QString aside = moveAside();
    if (aside.isEmpty()) {
        return without(
            QStringLiteral("The face index %1 is damaged and cannot be moved aside; searching without it.").arg(m_path));
    }
    say(QStringLiteral("The face index was damaged; moved aside as %1 and started anew.").arg(aside));
    if (!FaceIndexDatabase::prepareFile(m_path) || !(db = FaceIndexDatabase::open(m_path))) {
        sqlite3_close(db);
        return nullptr;
    }
    return ready(db);
}

sqlite3* FaceIndexStore::openReadOnly()
{
    m_readOnly = true;
    sqlite3* db = FaceIndexDatabase::open(m_path, true);
    if (db && FaceIndexDatabase::soundness(db) == FaceIndexDatabase::Soundness::Sound
        && FaceIndexDatabase::integer(db, "PRAGMA user_version").value_or(0) != 0) {
        return db;
    }
    const QString why = db ? QStringLiteral("it is not a face index of this program") : FaceIndexDatabase::failureOf(db);
    sqlite3_close(db);
    return without(QStringLiteral("The face index %1 cannot be used (%2); searching without it.").arg(m_path, why));
}

sqlite3* FaceIndexStore::ready(sqlite3* db)
{
    if (FaceIndexDatabase::createSchema(db)) {
        return db;
    }
    const QString why = FaceIndexDatabase::failureOf(db);
    sqlite3_close(db);
    return without(QStringLiteral("The face index %1 cannot be written (%2); searching without it.").arg(m_path, why));
}

sqlite3* FaceIndexStore::without(const QString& line)
{
    say(line);
    return nullptr;
}

// The damaged file and its log go together, so a stale log is never replayed into the new file.
QString FaceIndexStore::moveAside()
{
    const QString aside =
        m_path + QStringLiteral(".broken-") + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"));
    if (!QFile::rename(m_path, aside)) {
        return QString();
    }
    for (const QString& suffix : {QStringLiteral("-wal"), QStringLiteral("-shm")}) {
        if (QFile::exists(m_path + suffix) && !QFile::rename(m_path + suffix, aside + suffix)) {
            QFile::remove(m_path + suffix);
        }
    }
    return aside;
}

} // namespace morvelin
