// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/FaceIndex.h"

#include "search/FaceIndexCoding.h"
#include "search/FaceIndexDatabase.h"
#include "search/FaceIndexStore.h"
#include "search/FaceIndexWriter.h"
#include "search/SqliteStatement.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <sqlite3.h>

#include <unistd.h>

namespace morvelin {

QString FaceIndex::defaultPath()
{
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    return cache + QStringLiteral("/face-morvelin/faces.sqlite");
}

QByteArray FaceIndex::versionOf(const QStringList& files, const QByteArray& settings)
{
    QCryptographicHash digest(QCryptographicHash::Sha256);
    digest.addData(settings);
    for (const QString& path : files) {
        QFile file(path);
        digest.addData(QFile::encodeName(QFileInfo(path).fileName()));
        if (file.open(QIODevice::ReadOnly)) {
            digest.addData(&file);
        }
    }
    return digest.result().toHex();
}

FaceIndex::FaceIndex(const QString& path, const QByteArray& version)
    : m_store(std::make_shared<FaceIndexStore>(path, version))
{
    if (m_store->reader()) {
        m_writer = std::make_unique<FaceIndexWriter>(m_store);
    }
}

FaceIndex::~FaceIndex() = default;

bool FaceIndex::isOpen() const
{
    return m_store->reader() != nullptr;
}

QString FaceIndex::notice() const
{
    return m_store->notice();
}

QString FaceIndex::path() const
{
    return m_store->path();
}

std::optional<FaceIndex::Entry> FaceIndex::find(const QString& photo, const FileStamp& stamp) const
{
    if (!isOpen()) {
        return std::nullopt;
    }
    SqliteStatement query(m_store->reader(),
                    "SELECT device, inode, size, modified_ns, changed_ns, version, error, face_count, faces"
                    " FROM photos WHERE path = ?");
    if (!query.ok()) {
        return std::nullopt;
    }
    query.bind(1, FaceIndexCoding::keyOf(photo));
    if (query.step() != SQLITE_ROW) {
        return std::nullopt;
    }
    Entry entry;
    entry.stamp = {quint64(query.integer(0)), quint64(query.integer(1)), query.integer(2), query.integer(3),
                   query.integer(4)};
    if (!(entry.stamp == stamp) || query.blob(5) != m_store->version()) {
        return std::nullopt;
    }
    entry.error = query.text(6);
    if (!FaceIndexCoding::decodeFaces(query.blob(8), query.integer(7), entry)) {
        m_store->say(QStringLiteral("The face index held damaged faces; their photos are scanned again."));
        return std::nullopt;
    }
    return entry;
}

void FaceIndex::remember(const QString& photo, Entry entry)
{
    if (!m_writer) {
        return;
    }
    const QByteArray key = FaceIndexCoding::keyOf(photo);
    const QByteArray version = m_store->version();
    const QByteArray faces = FaceIndexCoding::encodeFaces(entry);
    m_writer->queue([key, version, faces, entry = std::move(entry)](sqlite3* db) {
        SqliteStatement insert(db,
                         "INSERT OR REPLACE INTO photos(path, device, inode, size, modified_ns, changed_ns, version,"
                         " error, face_count, faces) VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
        if (!insert.ok()) {
            return false;
        }
        insert.bind(1, key);
        insert.bind(2, qint64(entry.stamp.device));
        insert.bind(3, qint64(entry.stamp.inode));
        insert.bind(4, entry.stamp.size);
        insert.bind(5, entry.stamp.modifiedNs);
        insert.bind(6, entry.stamp.changedNs);
        insert.bind(7, version);
        insert.bind(8, entry.error);
        insert.bind(9, qint64(entry.faces.size()));
        insert.bind(10, faces);
        return insert.step() == SQLITE_DONE;
    });
}

void FaceIndex::pruneMissing(const QString& folder, bool recursive)
{
    if (!m_writer) {
        return;
    }
    QByteArray prefix = FaceIndexCoding::keyOf(folder);
    if (!prefix.endsWith('/')) {
        prefix += '/';
    }
    m_writer->queue([prefix, recursive](sqlite3* db) {
        // Every key under the folder sorts between "folder/" and "folder0" ('0' follows '/').
        QByteArray end = prefix;
        end.back() = '0';
        SqliteStatement select(db, "SELECT path FROM photos WHERE path >= ? AND path < ?");
        SqliteStatement remove(db, "DELETE FROM photos WHERE path = ?");
        if (!select.ok() || !remove.ok()) {
            return false;
        }
        select.bind(1, prefix);
        select.bind(2, end);
        std::vector<QByteArray> gone;
        while (select.step() == SQLITE_ROW) {
            const QByteArray key = select.blob(0);
            const bool direct = !key.mid(prefix.size()).contains('/');
            if ((recursive || direct) && ::access(key.constData(), F_OK) != 0) {
                gone.push_back(key);
            }
        }
        for (const QByteArray& key : gone) {
            remove.reset();
            remove.bind(1, key);
            if (remove.step() != SQLITE_DONE) {
                return false;
            }
        }
        return true;
    });
}

void FaceIndex::flush()
{
    if (m_writer) {
        m_writer->flush();
    }
}

FaceIndex::Stats FaceIndex::stats() const
{
    Stats stats;
    for (const QString& copy : brokenCopies()) {
        ++stats.brokenCopies;
        stats.bytes += QFileInfo(copy).size();
    }
    // Emptied by removing the files, the connection still reads what they held.
    if (!isOpen() || !QFileInfo::exists(path())) {
        return stats;
    }
    SqliteStatement query(m_store->reader(), "SELECT count(*), coalesce(sum(face_count), 0) FROM photos");
    if (query.ok() && query.step() == SQLITE_ROW) {
        stats.photos = query.integer(0);
        stats.faces = query.integer(1);
    }
    for (const QString& suffix : {QString(), QStringLiteral("-wal")}) {
        stats.bytes += QFileInfo(path() + suffix).size();
    }
    return stats;
}

bool FaceIndex::clear()
{
    bool cleared = removeBrokenCopies();
    if (m_writer && m_writer->clear()) {
        // Gives the space back; a search holding the file open elsewhere only delays that.
        FaceIndexDatabase::execute(m_store->reader(), "VACUUM");
        FaceIndexDatabase::execute(m_store->reader(), "PRAGMA wal_checkpoint(TRUNCATE)");
        return cleared;
    }
    // A full disk has no room for a rewrite, and a file that cannot be opened cannot be emptied:
    // removing the files needs neither.
    for (const QString& suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")}) {
        const QString file = path() + suffix;
        cleared = (!QFileInfo::exists(file) || QFile::remove(file)) && cleared;
    }
    return cleared;
}

QStringList FaceIndex::brokenCopies() const
{
    const QFileInfo index(path());
    QStringList copies;
    for (const QFileInfo& copy :
         QDir(index.absolutePath()).entryInfoList({index.fileName() + QStringLiteral(".broken-*")}, QDir::Files | QDir::Hidden)) {
        copies.append(copy.absoluteFilePath());
    }
    return copies;
}

bool FaceIndex::removeBrokenCopies() const
{
    bool removed = true;
    for (const QString& copy : brokenCopies()) {
        removed = QFile::remove(copy) && removed;
    }
    return removed;
}

} // namespace morvelin
