// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/FaceIndex.h"

#include "search/NativePath.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDataStream>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QStandardPaths>

#include <sqlite3.h>

#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace morvelin {

namespace {

// "FMor": tells our file from another program's SQLite database at the same place.
constexpr int applicationId = 0x464d6f72;
constexpr int schemaVersion = 1;
// "FAC3": the photo's sizes, then per face its box, key points, picture, thumbnail and features,
// followed by a checksum of all of it: SQLite checks its pages, not what a page holds.
constexpr quint32 facesMagic = 0x46414333;
constexpr qsizetype checksumBytes = 8;
constexpr int busyTimeoutMs = 10000;
constexpr std::size_t batchSize = 256;

const char* const schema =
    "CREATE TABLE IF NOT EXISTS photos("
    " path BLOB PRIMARY KEY,"
    " device INTEGER NOT NULL, inode INTEGER NOT NULL, size INTEGER NOT NULL,"
    " modified_ns INTEGER NOT NULL, changed_ns INTEGER NOT NULL,"
    " version BLOB NOT NULL, error TEXT NOT NULL, face_count INTEGER NOT NULL, faces BLOB NOT NULL"
    ") WITHOUT ROWID;"
    // One row per emptying: a search in another process that sees the count move on stops writing, so
    // that what it found does not come back after the user emptied the index.
    "CREATE TABLE IF NOT EXISTS clears(at INTEGER NOT NULL)";

// The name's own bytes, links resolved: two names that differ in one byte are two photos, even when
// one of them is not valid UTF-8.
QByteArray keyOf(const QString& photo)
{
    // Made by hand: QFileInfo passes the name through the locale's encoding and back, which is not exact.
    const QString path = QDir::isAbsolutePath(photo) ? photo : QDir::currentPath() + QLatin1Char('/') + photo;
    const QByteArray absolute = NativePath::encode(QDir::cleanPath(path));
    char* resolved = ::realpath(absolute.constData(), nullptr);
    if (resolved == nullptr) {
        return absolute;
    }
    const QByteArray key(resolved);
    std::free(resolved);
    return key;
}

// One prepared statement, finalised when it goes out of scope.
class Statement {
public:
    Statement(sqlite3* db, const char* sql)
    {
        if (sqlite3_prepare_v2(db, sql, -1, &m_statement, nullptr) != SQLITE_OK) {
            m_statement = nullptr;
        }
    }
    ~Statement() { sqlite3_finalize(m_statement); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool ok() const { return m_statement != nullptr; }
    sqlite3_stmt* get() const { return m_statement; }
    void bind(int index, const QByteArray& bytes)
    {
        sqlite3_bind_blob(m_statement, index, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
    }
    void bind(int index, const QString& text)
    {
        const QByteArray utf8 = text.toUtf8();
        sqlite3_bind_text(m_statement, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    }
    void bind(int index, qint64 value) { sqlite3_bind_int64(m_statement, index, value); }
    int step() { return sqlite3_step(m_statement); }
    qint64 integer(int column) const { return sqlite3_column_int64(m_statement, column); }
    QByteArray blob(int column) const
    {
        const auto* data = static_cast<const char*>(sqlite3_column_blob(m_statement, column));
        return QByteArray(data, sqlite3_column_bytes(m_statement, column));
    }
    QString text(int column) const
    {
        const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
        return QString::fromUtf8(data, sqlite3_column_bytes(m_statement, column));
    }

private:
    sqlite3_stmt* m_statement = nullptr;
};

bool execute(sqlite3* db, const char* sql)
{
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

// Why SQLite refused, for the user: a full disk said as such.
QString failureOf(sqlite3* db)
{
    if (db == nullptr) {
        return QStringLiteral("it cannot be opened");
    }
    if ((sqlite3_errcode(db) & 0xff) == SQLITE_FULL) {
        return QStringLiteral("the disk is full");
    }
    return QString::fromUtf8(sqlite3_errmsg(db));
}

std::optional<qint64> pragma(sqlite3* db, const char* sql)
{
    Statement statement(db, sql);
    if (!statement.ok() || statement.step() != SQLITE_ROW) {
        return std::nullopt;
    }
    return statement.integer(0);
}

qint64 generationOf(sqlite3* db)
{
    return pragma(db, "SELECT count(*) FROM clears").value_or(-1);
}

sqlite3* openConnection(const QString& path)
{
    sqlite3* db = nullptr;
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, flags, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return nullptr;
    }
    sqlite3_busy_timeout(db, busyTimeoutMs);
    // Each connection has its own setting. With the write-ahead log a commit stays whole without a
    // flush to disk; a power cut may only forget the last batches, which are scanned again.
    execute(db, "PRAGMA synchronous=NORMAL");
    return db;
}

enum class Soundness { Sound, Damaged, Unusable };

bool damageCode(sqlite3* db)
{
    const int code = sqlite3_errcode(db) & 0xff;
    return code == SQLITE_NOTADB || code == SQLITE_CORRUPT;
}

// A file of ours, of a schema we know, that SQLite reads without complaint — or a new, empty one.
// A file that cannot be read for another reason (locked, no memory) is not called damaged.
Soundness soundness(sqlite3* db)
{
    const auto id = pragma(db, "PRAGMA application_id");
    const auto version = pragma(db, "PRAGMA user_version");
    const auto tables = pragma(db, "SELECT count(*) FROM sqlite_master");
    if (!id || !version || !tables) {
        return damageCode(db) ? Soundness::Damaged : Soundness::Unusable;
    }
    if (*id == 0 && *version == 0 && *tables == 0) {
        return Soundness::Sound;
    }
    if (*id != applicationId || *version != schemaVersion) {
        return Soundness::Damaged;
    }
    Statement check(db, "PRAGMA quick_check");
    if (!check.ok() || check.step() != SQLITE_ROW) {
        return damageCode(db) ? Soundness::Damaged : Soundness::Unusable;
    }
    return check.text(0) == QLatin1String("ok") ? Soundness::Sound : Soundness::Damaged;
}

bool createSchema(sqlite3* db)
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

// The folder only its owner may enter, the file only its owner may read: it holds faces cut from
// the user's photos. Modes are only ever narrowed: a folder the user made read-only stays so.
bool narrowMode(const QByteArray& path, mode_t allowed)
{
    struct stat info {};
    return ::stat(path.constData(), &info) == 0 && ::chmod(path.constData(), info.st_mode & allowed) == 0;
}

bool prepareFile(const QString& path)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    if (!QDir().mkpath(QFile::decodeName(folder)) || !narrowMode(folder, 0700) || ::access(folder.constData(), W_OK) != 0) {
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

// A filtered face is grey: one byte a pixel holds it exactly, a third of what colour takes.
void writePicture(QDataStream& out, const QImage& face)
{
    const bool grey = face.allGray();
    const QImage picture = face.convertToFormat(grey ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
    const int bytesPerPixel = grey ? 1 : 3;
    out << qint32(picture.width()) << qint32(picture.height()) << quint8(bytesPerPixel);
    for (int y = 0; y < picture.height(); ++y) {
        out.writeRawData(reinterpret_cast<const char*>(picture.constScanLine(y)), picture.width() * bytesPerPixel);
    }
}

// The unfiltered thumbnail only shows which face matched: a small JPEG is plenty.
void writeThumbnail(QDataStream& out, const QImage& thumbnail)
{
    constexpr int thumbnailQuality = 90;
    QByteArray jpeg;
    if (!thumbnail.isNull()) {
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        thumbnail.save(&buffer, "JPG", thumbnailQuality);
    }
    out << jpeg;
}

// Over the faces and the photo's error: a changed error would make a photo "not read".
QByteArray checksumOf(const QByteArray& faces, const QString& error)
{
    QCryptographicHash digest(QCryptographicHash::Sha256);
    digest.addData(faces);
    digest.addData(error.toUtf8());
    return digest.result().left(checksumBytes);
}

QByteArray encodeFaces(const FaceIndex::Entry& entry)
{
    const std::vector<FaceIndex::Face>& faces = entry.faces;
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << facesMagic << entry.photoSize << entry.scanSize << quint32(faces.size());
    for (const FaceIndex::Face& face : faces) {
        out << qint32(face.box.left()) << qint32(face.box.top()) << qint32(face.box.width())
            << qint32(face.box.height());
        for (const QPointF& point : face.keyPoints) {
            out << point.x() << point.y();
        }
        writePicture(out, face.picture);
        writeThumbnail(out, face.thumbnail);
        out << quint32(face.features.size());
        out.writeRawData(reinterpret_cast<const char*>(face.features.data()),
                         int(face.features.size() * sizeof(float)));
    }
    return bytes + checksumOf(bytes, entry.error);
}

// A face's picture; 0 x 0 for a rectangle that held nothing, kept so that faces keep their numbers.
bool readPicture(QDataStream& in, QImage& picture)
{
    constexpr qint32 largestSide = 4096;
    qint32 width = 0, height = 0;
    quint8 bytesPerPixel = 0;
    in >> width >> height >> bytesPerPixel;
    if (in.status() != QDataStream::Ok || width < 0 || height < 0 || width > largestSide || height > largestSide
        || (bytesPerPixel != 1 && bytesPerPixel != 3)) {
        return false;
    }
    if (width == 0 || height == 0) {
        picture = QImage();
        return true;
    }
    QImage stored(width, height, bytesPerPixel == 1 ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
    const int lineBytes = width * bytesPerPixel;
    for (int y = 0; y < height; ++y) {
        if (in.readRawData(reinterpret_cast<char*>(stored.scanLine(y)), lineBytes) != lineBytes) {
            return false;
        }
    }
    picture = stored.convertToFormat(QImage::Format_RGB32);
    return true;
}

bool readThumbnail(QDataStream& in, QImage& thumbnail)
{
    constexpr qsizetype largestJpeg = 1 << 16;
    QByteArray jpeg;
    in >> jpeg;
    if (in.status() != QDataStream::Ok || jpeg.size() > largestJpeg) {
        return false;
    }
    thumbnail = jpeg.isEmpty() ? QImage() : QImage::fromData(jpeg, "JPG");
    return jpeg.isEmpty() || !thumbnail.isNull();
}

bool readFace(QDataStream& in, FaceIndex::Face& face)
{
    constexpr quint32 largestVector = 65536;
    qint32 left = 0, top = 0, width = 0, height = 0;
    in >> left >> top >> width >> height;
    face.box = QRect(left, top, width, height);
    for (QPointF& point : face.keyPoints) {
        double x = 0, y = 0;
        in >> x >> y;
        point = QPointF(x, y);
    }
    if (!readPicture(in, face.picture) || !readThumbnail(in, face.thumbnail)) {
        return false;
    }
    quint32 length = 0;
    in >> length;
    if (in.status() != QDataStream::Ok || length > largestVector) {
        return false;
    }
    face.features.resize(length);
    const int byteCount = int(length * sizeof(float));
    return in.readRawData(reinterpret_cast<char*>(face.features.data()), byteCount) == byteCount;
}

// Fills the entry's sizes and faces; false for bytes that are not what encodeFaces wrote for the
// entry's error.
bool decodeFaces(const QByteArray& stored, qint64 expectedCount, FaceIndex::Entry& entry)
{
    if (stored.size() < checksumBytes) {
        return false;
    }
    const QByteArray bytes = stored.left(stored.size() - checksumBytes);
    if (checksumOf(bytes, entry.error) != stored.right(checksumBytes)) {
        return false;
    }
    QDataStream in(bytes);
    in.setVersion(QDataStream::Qt_6_0);
    quint32 magic = 0, count = 0;
    in >> magic >> entry.photoSize >> entry.scanSize >> count;
    if (in.status() != QDataStream::Ok || magic != facesMagic || count != quint64(expectedCount)) {
        return false;
    }
    entry.faces.resize(count);
    for (FaceIndex::Face& face : entry.faces) {
        if (!readFace(in, face)) {
            return false;
        }
    }
    return in.atEnd();
}

} // namespace

// The database as both the readers and the writer see it; outlives either.
class FaceIndex::Store {
public:
    Store(QString path, QByteArray version)
        : m_path(std::move(path))
        , m_version(std::move(version))
    {
        m_read = open();
    }
    ~Store() { sqlite3_close(m_read); }

    // A connection to a sound index, moving a damaged file aside first; null when there is none.
    sqlite3* open()
    {
        if (!prepareFile(m_path)) {
            return without(QStringLiteral("The face index cannot be kept in %1; searching without it.").arg(m_path));
        }
        sqlite3* db = openConnection(m_path);
        const Soundness found = db ? soundness(db) : Soundness::Unusable;
        if (found == Soundness::Sound) {
            return ready(db);
        }
        const QString why = failureOf(db);
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
        if (!prepareFile(m_path) || !(db = openConnection(m_path))) {
            sqlite3_close(db);
            return nullptr;
        }
        return ready(db);
    }

    void say(const QString& line)
    {
        const std::lock_guard lock(m_noticeMutex);
        if (m_notice.isEmpty()) {
            m_notice = line;
        }
    }

    QString notice() const
    {
        const std::lock_guard lock(m_noticeMutex);
        return m_notice;
    }

    sqlite3* reader() const { return m_read; }
    const QString& path() const { return m_path; }
    const QByteArray& version() const { return m_version; }

private:
    sqlite3* ready(sqlite3* db)
    {
        if (createSchema(db)) {
            return db;
        }
        const QString why = failureOf(db);
        sqlite3_close(db);
        return without(QStringLiteral("The face index %1 cannot be written (%2); searching without it.").arg(m_path, why));
    }

    sqlite3* without(const QString& line)
    {
        say(line);
        return nullptr;
    }

    // The damaged file and its log go together, so a stale log is never replayed into the new file.
    QString moveAside()
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

    QString m_path;
    QByteArray m_version;
    sqlite3* m_read = nullptr;
    mutable std::mutex m_noticeMutex;
    QString m_notice;
};

// The one thread that writes: takes what the scans queue and commits it in batches, so no scan and
// no window waits on the disk. A failed write (disk full, read-only folder) stops writing for good,
// and so does an emptying of the index by another process: what this one found must not come back.
class FaceIndex::Writer {
public:
    using Job = std::function<bool(sqlite3*)>;

    explicit Writer(std::shared_ptr<Store> store)
        : m_store(std::move(store))
        , m_generation(generationOf(m_store->reader())) // as the index was opened, not as the thread starts
        , m_thread([this] { loop(); })
    {
    }

    ~Writer()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_stopping = true;
        }
        m_wake.notify_all();
        m_thread.join();
    }

    void queue(Job job)
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

    void flush()
    {
        std::unique_lock lock(m_mutex);
        m_idle.wait(lock, [this] { return m_jobs.empty() && !m_busy; });
    }

    // Empties the index on this thread, in turn with the writes queued before; false when it could not.
    bool clear()
    {
        queue([this](sqlite3* db) {
            if (!execute(db, "PRAGMA secure_delete=ON") || !execute(db, "INSERT INTO clears(at) VALUES(strftime('%s'))")
                || !execute(db, "DELETE FROM photos")) {
                return false;
            }
            m_generation = generationOf(db);
            return true;
        });
        flush();
        const std::lock_guard lock(m_mutex);
        return !m_failed;
    }

private:
    void loop()
    {
        sqlite3* db = openConnection(m_store->path());
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
            const QString refused = db ? commit(db, batch) : failureOf(db);
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
    QString commit(sqlite3* db, const std::vector<Job>& batch)
    {
        if (!execute(db, "BEGIN IMMEDIATE")) {
            return failureOf(db);
        }
        if (generationOf(db) != m_generation) {
            execute(db, "ROLLBACK");
            return QStringLiteral("it was emptied while this search ran");
        }
        for (const Job& job : batch) {
            if (!job(db)) {
                const QString why = failureOf(db);
                execute(db, "ROLLBACK");
                return why;
            }
        }
        if (execute(db, "COMMIT")) {
            return QString();
        }
        const QString why = failureOf(db);
        execute(db, "ROLLBACK");
        return why;
    }

    // Called with the lock held.
    void fail(const QString& why)
    {
        if (!m_failed) {
            m_store->say(QStringLiteral("The face index %1 stopped storing what searches find (%2); searches go on without it.")
                             .arg(m_store->path(), why));
        }
        m_failed = true;
        m_jobs.clear();
    }

    std::shared_ptr<Store> m_store;
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
    : m_store(std::make_shared<Store>(path, version))
{
    if (m_store->reader()) {
        m_writer = std::make_unique<Writer>(m_store);
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
    Statement query(m_store->reader(),
                    "SELECT device, inode, size, modified_ns, changed_ns, version, error, face_count, faces"
                    " FROM photos WHERE path = ?");
    if (!query.ok()) {
        return std::nullopt;
    }
    query.bind(1, keyOf(photo));
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
    if (!decodeFaces(query.blob(8), query.integer(7), entry)) {
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
    const QByteArray key = keyOf(photo);
    const QByteArray version = m_store->version();
    const QByteArray faces = encodeFaces(entry);
    m_writer->queue([key, version, faces, entry = std::move(entry)](sqlite3* db) {
        Statement insert(db,
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
    QByteArray prefix = keyOf(folder);
    if (!prefix.endsWith('/')) {
        prefix += '/';
    }
    m_writer->queue([prefix, recursive](sqlite3* db) {
        // Every key under the folder sorts between "folder/" and "folder0" ('0' follows '/').
        QByteArray end = prefix;
        end.back() = '0';
        Statement select(db, "SELECT path FROM photos WHERE path >= ? AND path < ?");
        Statement remove(db, "DELETE FROM photos WHERE path = ?");
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
            sqlite3_reset(remove.get());
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
    Statement query(m_store->reader(), "SELECT count(*), coalesce(sum(face_count), 0) FROM photos");
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
        execute(m_store->reader(), "VACUUM");
        execute(m_store->reader(), "PRAGMA wal_checkpoint(TRUNCATE)");
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
