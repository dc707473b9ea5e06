// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/FaceIndex.h"

#include "search/FaceIndexCoding.h"
#include "search/FaceIndexDatabase.h"
#include "search/FaceIndexStore.h"
#include "search/FaceIndexWriter.h"
#include "search/FileFingerprint.h"
#include "search/SqliteStatement.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

#include <sqlite3.h>

#include <cerrno>

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
    if (m_store->reader() && !m_store->readOnly()) {
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

bool FaceIndex::readOnly() const
{
    return m_store->readOnly();
}

namespace {

// The columns decoded() reads, in its order; the pictures last, read only when asked for.
constexpr int picturesColumn = 12;

QByteArray selectEntry(const char* where, FaceIndex::Pictures pictures)
{
    QByteArray sql = "SELECT p.id, p.device, p.inode, p.size, p.modified_ns, p.changed_ns, p.version, p.error,"
                     " p.face_count, p.faces, p.vectors, x.thumbnails";
    if (pictures == FaceIndex::Pictures::Read) {
        sql += ", x.pictures";
    }
    return sql + " FROM photos p JOIN face_pictures x ON x.id = p.id WHERE " + where;
}

// A missing photo on a disk that is not plugged in (its folder under /media or /mnt gone with the
// mount) is kept for when the disk comes back; any other missing photo is gone.
bool goneForGood(const QByteArray& key)
{
    if (::access(key.constData(), F_OK) == 0 || errno != ENOENT) {
        return false;
    }
    QByteArray folder = key.left(key.lastIndexOf('/'));
    while (!folder.isEmpty() && ::access(folder.constData(), F_OK) != 0) {
        folder = folder.left(folder.lastIndexOf('/'));
    }
    if (folder == key.left(key.lastIndexOf('/'))) {
        return true; // the folder is there, the photo is not
    }
    static const QRegularExpression mountFolder(QStringLiteral("^(/media(/[^/]+)?|/run/media/[^/]+|/mnt(/[^/]+)?)$"));
    return !mountFolder.match(QString::fromLocal8Bit(folder)).hasMatch();
}

// A photo scanned again keeps its row and id, so its pictures under that id are replaced, not orphaned.
const QByteArray updateByPath =
    " ON CONFLICT(path) DO UPDATE SET device = excluded.device, inode = excluded.inode, size = excluded.size,"
    " modified_ns = excluded.modified_ns, changed_ns = excluded.changed_ns, fingerprint = excluded.fingerprint,"
    " version = excluded.version, error = excluded.error, face_count = excluded.face_count, faces = excluded.faces,"
    " vectors = excluded.vectors";

// The first six values of both ways of writing a photo's row: its key and its stamp.
void bindPathAndStamp(SqliteStatement& statement, const QByteArray& key, const FileStamp& stamp)
{
    statement.bind(1, key);
    statement.bind(2, qint64(stamp.device));
    statement.bind(3, qint64(stamp.inode));
    statement.bind(4, stamp.size);
    statement.bind(5, stamp.modifiedNs);
    statement.bind(6, stamp.changedNs);
}

FileStamp stampOf(const SqliteStatement& row)
{
    return {quint64(row.integer(1)), quint64(row.integer(2)), row.integer(3), row.integer(4), row.integer(5)};
}

} // namespace

QImage FaceIndex::Entry::thumbnailOf(std::size_t face) const
{
    if (face < faces.size() && !faces[face].thumbnail.isNull()) {
        return faces[face].thumbnail;
    }
    return face < storedThumbnails.size() ? FaceIndexCoding::thumbnailFrom(storedThumbnails[face]) : QImage();
}

std::optional<FaceIndex::Entry> FaceIndex::find(const QString& photo, const FileStamp& stamp, Pictures pictures) const
{
    if (!isOpen()) {
        return std::nullopt;
    }
    SqliteStatement query(m_store->reader(), selectEntry("p.path = ?", pictures).constData());
    if (!query.ok()) {
        return std::nullopt;
    }
    query.bind(1, FaceIndexCoding::keyOf(photo));
    if (query.step() == SQLITE_ROW && stampOf(query) == stamp && query.blob(6) == m_store->version()) {
        return decoded(query, pictures);
    }
    return findByContent(photo, stamp, pictures);
}

// A photo under a name the index does not know, or whose stamp moved on with a rename or a remount
// (new inode, device or change time), is answered by an entry of the same bytes, size and
// modification time; the entry is then also kept under the new name.
std::optional<FaceIndex::Entry> FaceIndex::findByContent(const QString& photo, const FileStamp& stamp, Pictures pictures) const
{
    const QByteArray fingerprint = FileFingerprint::of(photo);
    if (fingerprint.isEmpty()) {
        return std::nullopt;
    }
    SqliteStatement query(m_store->reader(),
                         selectEntry("p.fingerprint = ? AND p.size = ? AND p.modified_ns = ? AND p.version = ? LIMIT 1", pictures).constData());
    if (!query.ok()) {
        return std::nullopt;
    }
    query.bind(1, fingerprint);
    query.bind(2, stamp.size);
    query.bind(3, stamp.modifiedNs);
    query.bind(4, m_store->version());
    if (query.step() != SQLITE_ROW) {
        return std::nullopt;
    }
    std::optional<Entry> entry = decoded(query, pictures);
    if (entry) {
        entry->stamp = stamp;
        rememberUnder(photo, query.integer(0), stamp);
    }
    return entry;
}

std::optional<FaceIndex::Entry> FaceIndex::decoded(SqliteStatement& row, Pictures pictures) const
{
    Entry entry;
    entry.stamp = stampOf(row);
    entry.error = row.text(7);
    const qint64 faceCount = row.integer(8);
    if (!FaceIndexCoding::decodeFaces(row.blob(9), row.blob(10), faceCount, entry)
        || !FaceIndexCoding::decodeThumbnails(row.blob(11), entry)
        || (pictures == Pictures::Read && !FaceIndexCoding::decodePictures(row.blob(picturesColumn), entry))) {
        m_store->say(QStringLiteral("The face index held damaged faces; their photos are scanned again."));
        return std::nullopt;
    }
    return entry;
}

// Copies the stored entry, blobs and all, to the photo's new name with its new stamp.
void FaceIndex::rememberUnder(const QString& photo, qint64 id, const FileStamp& stamp) const
{
    if (!m_writer) {
        return;
    }
    const QByteArray key = FaceIndexCoding::keyOf(photo);
    m_writer->queue([key, id, stamp](sqlite3* db) {
        const QByteArray sql = "INSERT INTO photos(path, device, inode, size, modified_ns, changed_ns, fingerprint, version,"
                               " error, face_count, faces, vectors) SELECT ?, ?, ?, ?, ?, ?, fingerprint, version, error,"
                               " face_count, faces, vectors FROM photos WHERE id = ?"
            + updateByPath;
        SqliteStatement copy(db, sql.constData());
        SqliteStatement pictures(db,
                                 "INSERT OR REPLACE INTO face_pictures(id, thumbnails, pictures) SELECT"
                                 " (SELECT id FROM photos WHERE path = ?), thumbnails, pictures FROM face_pictures WHERE id = ?");
        if (!copy.ok() || !pictures.ok()) {
            return false;
        }
        bindPathAndStamp(copy, key, stamp);
        copy.bind(7, id);
        pictures.bind(1, key);
        pictures.bind(2, id);
        return copy.step() == SQLITE_DONE && pictures.step() == SQLITE_DONE;
    });
}

void FaceIndex::remember(const QString& photo, Entry entry, Pictures pictures)
{
    if (!m_writer) {
        return;
    }
    const QByteArray key = FaceIndexCoding::keyOf(photo);
    const QByteArray version = m_store->version();
    // Read here, on the scan's thread, while the photo is still in the page cache.
    const QByteArray fingerprint = FileFingerprint::of(photo);
    const FaceIndexCoding::Stored stored = FaceIndexCoding::encode(entry, pictures == Pictures::Read);
    m_writer->queue([key, version, fingerprint, stored, stamp = entry.stamp, error = entry.error,
                     faceCount = qint64(entry.faces.size())](sqlite3* db) {
        const QByteArray sql = "INSERT INTO photos(path, device, inode, size, modified_ns, changed_ns, fingerprint, version,"
                               " error, face_count, faces, vectors) VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"
            + updateByPath;
        SqliteStatement insert(db, sql.constData());
        SqliteStatement pictures(db, "INSERT OR REPLACE INTO face_pictures(id, thumbnails, pictures)"
                                     " VALUES((SELECT id FROM photos WHERE path = ?), ?, ?)");
        if (!insert.ok() || !pictures.ok()) {
            return false;
        }
        bindPathAndStamp(insert, key, stamp);
        insert.bind(7, fingerprint);
        insert.bind(8, version);
        insert.bind(9, error);
        insert.bind(10, faceCount);
        insert.bind(11, stored.faces);
        insert.bind(12, stored.vectors);
        pictures.bind(1, key);
        pictures.bind(2, stored.thumbnails);
        pictures.bind(3, stored.pictures);
        return insert.step() == SQLITE_DONE && pictures.step() == SQLITE_DONE;
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
            if ((recursive || direct) && goneForGood(key)) {
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

qint64 FaceIndex::pruneEverywhere()
{
    if (!m_writer) {
        return -1;
    }
    auto removed = std::make_shared<qint64>(0);
    m_writer->queue([removed](sqlite3* db) {
        SqliteStatement select(db, "SELECT id, path FROM photos");
        SqliteStatement remove(db, "DELETE FROM photos WHERE id = ?");
        if (!select.ok() || !remove.ok()) {
            return false;
        }
        std::vector<qint64> gone;
        while (select.step() == SQLITE_ROW) {
            if (goneForGood(select.blob(1))) {
                gone.push_back(select.integer(0));
            }
        }
        for (const qint64 id : gone) {
            remove.reset();
            remove.bind(1, id);
            if (remove.step() != SQLITE_DONE) {
                return false;
            }
        }
        *removed = qint64(gone.size());
        return true;
    });
    m_writer->flush();
    return m_writer->failed() ? -1 : *removed;
}

void FaceIndex::flush()
{
    if (m_writer) {
        m_writer->flush();
    }
}

void FaceIndex::forEachFace(const FaceVisitor& visit) const
{
    if (!isOpen()) {
        return;
    }
    SqliteStatement query(m_store->reader(), "SELECT path, error, face_count, faces, vectors FROM photos WHERE version = ?");
    if (!query.ok()) {
        return;
    }
    query.bind(1, m_store->version());
    Entry entry;
    while (query.step() == SQLITE_ROW) {
        entry.error = query.text(1);
        if (!FaceIndexCoding::decodeFaces(query.blob(3), query.blob(4), query.integer(2), entry)) {
            continue;
        }
        const QByteArray key = query.blob(0);
        for (std::size_t n = 0; n < entry.faces.size(); ++n) {
            visit(key, n, entry.faces[n].features);
        }
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
    if (readOnly()) {
        return false; // another's index, or one on a read-only share: not this process's to empty
    }
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
