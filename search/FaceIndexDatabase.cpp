// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/FaceIndexDatabase.h"

#include "search/SqliteStatement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <algorithm>
#include <array>

#include <fcntl.h>
#include <sys/statfs.h>
#include <sys/stat.h>
#include <unistd.h>

namespace morvelin {

namespace {

// "FMor": tells our file from another program's SQLite database at the same place.
constexpr int applicationId = 0x464d6f72;
constexpr int schemaVersion = 3;
constexpr int busyTimeoutMs = 10000;

// A photo's row holds what every search reads — its stamp, fingerprint, boxes and vectors — and fits
// a page, so that one pass over a million faces reads the pages in a row; the thumbnails and grid
// pictures, read only for a face that is listed or by the grid, lie in a table of their own under the
// same id and go with the photo's row. The fingerprint finds a photo that moved.
const char* const schema =
    "CREATE TABLE IF NOT EXISTS photos("
    " id INTEGER PRIMARY KEY, path BLOB NOT NULL UNIQUE,"
    " device INTEGER NOT NULL, inode INTEGER NOT NULL, size INTEGER NOT NULL,"
    " modified_ns INTEGER NOT NULL, changed_ns INTEGER NOT NULL, fingerprint BLOB NOT NULL,"
    " version BLOB NOT NULL, error TEXT NOT NULL, face_count INTEGER NOT NULL,"
    " faces BLOB NOT NULL, vectors BLOB NOT NULL);"
    "CREATE INDEX IF NOT EXISTS photos_by_content ON photos(fingerprint, size, modified_ns);"
    "CREATE TABLE IF NOT EXISTS face_pictures(id INTEGER PRIMARY KEY, thumbnails BLOB NOT NULL, pictures BLOB NOT NULL);"
    "CREATE TRIGGER IF NOT EXISTS photo_forgotten AFTER DELETE ON photos"
    " BEGIN DELETE FROM face_pictures WHERE id = old.id; END;"
    // One row per emptying: a search in another process that sees the count move on stops writing, so
    // that what it found does not come back after the user emptied the index.
    "CREATE TABLE IF NOT EXISTS clears(at INTEGER NOT NULL)";

bool damageCode(sqlite3* db)
{
    const int code = sqlite3_errcode(db) & 0xff;
    return code == SQLITE_NOTADB || code == SQLITE_CORRUPT;
}

// The folder only its owner may enter, the file only its owner may read: it holds faces cut from
// the user's photos. Modes are only ever narrowed: a folder the user made read-only stays so.
bool narrowMode(const QByteArray& path, mode_t allowed)
{
    struct stat info {};
    return ::stat(path.constData(), &info) == 0 && ::chmod(path.constData(), info.st_mode & allowed) == 0;
}

// What statfs() says of network and user-space file systems: NFS, SMB/CIFS (both magic numbers), FUSE
// (sshfs and other mounts), AFS, Ceph.
bool onLocalDisk(const QString& path)
{
    constexpr std::array<unsigned long, 7> remote = {0x6969, 0xff534d42, 0xfe534d42, 0x517b, 0x65735546, 0x5346414f,
                                                     0x00c36400};
    struct statfs info {};
    if (::statfs(QFile::encodeName(path).constData(), &info) != 0) {
        return false;
    }
    return std::find(remote.begin(), remote.end(), static_cast<unsigned long>(info.f_type)) == remote.end();
}

} // namespace

bool FaceIndexDatabase::execute(sqlite3* db, const char* sql)
{
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

// A full disk is said as such.
QString FaceIndexDatabase::failureOf(sqlite3* db)
{
    if (db == nullptr) {
        return QStringLiteral("it cannot be opened");
    }
    if ((sqlite3_errcode(db) & 0xff) == SQLITE_FULL) {
        return QStringLiteral("the disk is full");
    }
    return QString::fromUtf8(sqlite3_errmsg(db));
}

std::optional<qint64> FaceIndexDatabase::integer(sqlite3* db, const char* sql)
{
    SqliteStatement statement(db, sql);
    if (!statement.ok() || statement.step() != SQLITE_ROW) {
        return std::nullopt;
    }
    return statement.integer(0);
}

qint64 FaceIndexDatabase::generationOf(sqlite3* db)
{
    return integer(db, "SELECT count(*) FROM clears").value_or(-1);
}

bool FaceIndexDatabase::writable(const QString& path)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    const QByteArray file = QFile::encodeName(path);
    return ::access(folder.constData(), W_OK) == 0 && (::access(file.constData(), F_OK) != 0 || ::access(file.constData(), W_OK) == 0);
}

sqlite3* FaceIndexDatabase::open(const QString& path, bool readOnly)
{
    sqlite3* db = nullptr;
    const int flags = (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE) | SQLITE_OPEN_FULLMUTEX;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, flags, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return nullptr;
    }
    // Without a folder to write it in, there is no shared-memory file for the log: SQLite then reads the
    // file as it stands, which is all a read-only index needs.
    if (readOnly && !integer(db, "PRAGMA schema_version")) {
        sqlite3_close(db);
        db = nullptr;
        const QByteArray uri = "file:" + QFile::encodeName(path).toPercentEncoding("/") + "?immutable=1";
        if (sqlite3_open_v2(uri.constData(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_FULLMUTEX, nullptr)
            != SQLITE_OK) {
            sqlite3_close(db);
            return nullptr;
        }
    }
    sqlite3_busy_timeout(db, busyTimeoutMs);
    // Mapped, a pass over a million faces reads the pages where they lie instead of copying each one
    // through a system call. Not on a network file system: a file cut short there by another machine
    // would end this program with SIGBUS.
    if (onLocalDisk(path)) {
        execute(db, "PRAGMA mmap_size=17179869184");
    }
    // Each connection has its own setting. With the write-ahead log a commit stays whole without a
    // flush to disk; a power cut may only forget the last batches, which are scanned again.
    execute(db, "PRAGMA synchronous=NORMAL");
    return db;
}

// A file of ours, of a schema we know, that SQLite reads without complaint — or a new, empty one.
// A file that cannot be read for another reason (locked, no memory) is not called damaged.
FaceIndexDatabase::Soundness FaceIndexDatabase::soundness(sqlite3* db)
{
    const auto id = integer(db, "PRAGMA application_id");
    const auto version = integer(db, "PRAGMA user_version");
    const auto tables = integer(db, "SELECT count(*) FROM sqlite_master");
    if (!id || !version || !tables) {
        return damageCode(db) ? Soundness::Damaged : Soundness::Unusable;
    }
    if (*id == 0 && *version == 0 && *tables == 0) {
        return Soundness::Sound;
    }
    if (*id != applicationId || *version > schemaVersion || *version < 1) {
        return Soundness::Damaged;
    }
    if (*version < schemaVersion) {
        return Soundness::Outdated;
    }
    SqliteStatement check(db, "PRAGMA quick_check");
    if (!check.ok() || check.step() != SQLITE_ROW) {
        return damageCode(db) ? Soundness::Damaged : Soundness::Unusable;
    }
    return check.text(0) == QLatin1String("ok") ? Soundness::Sound : Soundness::Damaged;
}

bool FaceIndexDatabase::createSchema(sqlite3* db)
{
    if (!execute(db, "PRAGMA journal_mode=WAL") || !execute(db, "BEGIN IMMEDIATE")) {
        return false;
    }
    const QByteArray setIds = QStringLiteral("PRAGMA application_id=%1; PRAGMA user_version=%2;")
                                  .arg(applicationId)
                                  .arg(schemaVersion)
                                  .toLatin1();
    if (!execute(db, schema) || !execute(db, setIds.constData()) || !execute(db, "COMMIT")) {
        execute(db, "ROLLBACK");
        return false;
    }
    return true;
}

bool FaceIndexDatabase::renewSchema(sqlite3* db)
{
    if (!execute(db, "PRAGMA secure_delete=ON") || !execute(db, "BEGIN IMMEDIATE")) {
        return false;
    }
    if (!execute(db, "DROP TABLE IF EXISTS photos; DROP TABLE IF EXISTS face_pictures; DROP TABLE IF EXISTS clears; PRAGMA user_version=0")
        || !execute(db, "COMMIT")) {
        execute(db, "ROLLBACK");
        return false;
    }
    execute(db, "VACUUM");
    return createSchema(db);
}

bool FaceIndexDatabase::prepareFile(const QString& path)
{
    // Only a folder of the index's own is narrowed: one the user named with --index (a share, /tmp)
    // belongs to others too.
    const QFileInfo folderInfo(QFileInfo(path).absolutePath());
    const QByteArray folder = QFile::encodeName(folderInfo.absoluteFilePath());
    const bool ours = !folderInfo.exists() || folderInfo.fileName() == QLatin1String("face-morvelin");
    if (!QDir().mkpath(QFile::decodeName(folder)) || (ours && !narrowMode(folder, 0700))
        || ::access(folder.constData(), W_OK) != 0) {
        return false;
    }
    const QByteArray file = QFile::encodeName(path);
    const int fd = ::open(file.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        return false;
    }
    ::close(fd);
    return narrowMode(file, 0600);
}

} // namespace morvelin
