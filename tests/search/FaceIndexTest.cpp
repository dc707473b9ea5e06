// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/FaceIndex.h"
#include "search/HalfFloat.h"
#include "search/NativePath.h"
#include "search/ScanVersion.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sqlite3.h>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace morvelin;

namespace {

const QByteArray version = "v1";

QString writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
}

FaceIndex::Entry entryFor(const QString& photo, int faces)
{
    FaceIndex::Entry entry;
    entry.stamp = *FileStamp::of(photo);
    entry.photoSize = QSize(4000, 3000);
    entry.scanSize = QSize(1600, 1200);
    for (int n = 0; n < faces; ++n) {
        FaceIndex::Face face;
        face.box = QRect(10 * n, 20, 48 + n, 50);
        face.keyPoints[DetectedFace::NoseTip] = QPointF(12.25 + n, 30.5);
        face.picture = QImage(48, 48, QImage::Format_RGB32);
        face.picture.fill(qRgb(10 * n, 200, 30));
        face.picture.setPixel(5, 7, qRgb(1, 2, 3));
        face.thumbnail = QImage(48, 48, QImage::Format_RGB32);
        face.thumbnail.fill(qRgb(200, 120, 40 * n));
        face.features = {0.6f, -0.8f, float(n)};
        entry.faces.push_back(face);
    }
    return entry;
}

mode_t modeOf(const QString& path)
{
    struct stat info {};
    ::stat(QFile::encodeName(path).constData(), &info);
    return info.st_mode & 0777;
}

class FaceIndexTest : public testing::Test {
protected:
    QString indexPath() const { return m_dir.path() + QStringLiteral("/cache/face-morvelin/faces.sqlite"); }
    QString photo(const QString& name) { return writeFile(m_dir.filePath(name), "photo " + name.toUtf8()); }

    QTemporaryDir m_dir;
};

TEST_F(FaceIndexTest, answersOnlyForTheSameFileAndVersion)
{
    const QString a = photo(QStringLiteral("a.jpg"));
    const QString b = photo(QStringLiteral("b.jpg"));
    {
        FaceIndex index(indexPath(), version);
        ASSERT_TRUE(index.isOpen()) << index.notice().toStdString();
        index.remember(a, entryFor(a, 2));
        FaceIndex::Entry unreadable = entryFor(b, 0);
        unreadable.error = QStringLiteral("not a picture");
        index.remember(b, unreadable);
    }
    FaceIndex index(indexPath(), version);
    const auto found = index.find(a, *FileStamp::of(a));
    ASSERT_TRUE(found);
    const FaceIndex::Entry expected = entryFor(a, 2);
    ASSERT_EQ(found->faces.size(), 2u);
    for (std::size_t n = 0; n < 2; ++n) {
        EXPECT_EQ(found->faces[n].box, expected.faces[n].box);
        EXPECT_EQ(found->faces[n].keyPoints, expected.faces[n].keyPoints);
        EXPECT_EQ(found->faces[n].picture, expected.faces[n].picture);
        // Vectors are kept in half precision, which a scan's features already are.
        std::vector<float> halves = expected.faces[n].features;
        HalfFloat::round(halves);
        EXPECT_EQ(found->faces[n].features, halves);
        // The thumbnail is kept small, as a JPEG: close, not exact.
        const QImage thumbnail = found->thumbnailOf(n);
        ASSERT_EQ(thumbnail.size(), QSize(48, 48));
        const QColor kept = thumbnail.pixelColor(24, 24);
        const QColor made = expected.faces[n].thumbnail.pixelColor(24, 24);
        EXPECT_LE(std::abs(kept.red() - made.red()) + std::abs(kept.green() - made.green()) + std::abs(kept.blue() - made.blue()), 12);
    }
    EXPECT_EQ(found->photoSize, QSize(4000, 3000));
    EXPECT_EQ(found->scanSize, QSize(1600, 1200));
    EXPECT_EQ(index.find(b, *FileStamp::of(b))->error, QStringLiteral("not a picture"));
    EXPECT_EQ(index.stats().photos, 2);
    EXPECT_EQ(index.stats().faces, 2);

    // Another scan version, or the photo replaced by one of the same size (new inode), is not answered.
    EXPECT_FALSE(FaceIndex(indexPath(), "v2").find(a, *FileStamp::of(a)));
    QFile::remove(a);
    photo(QStringLiteral("a.jpg"));
    EXPECT_FALSE(index.find(a, *FileStamp::of(a)));
    // A file rewritten in place with its modification time put back is not answered either: its
    // content differs. One whose change time alone moved (a chmod, a rename) still is.
    const FileStamp before = *FileStamp::of(b);
    ::chmod(QFile::encodeName(b).constData(), 0640);
    ASSERT_NE(FileStamp::of(b)->changedNs, before.changedNs);
    EXPECT_TRUE(index.find(b, *FileStamp::of(b)));
    writeFile(b, "PHOTO b.jpg");
    const timespec times[2] = {{0, UTIME_OMIT}, {before.modifiedNs / 1000000000, long(before.modifiedNs % 1000000000)}};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(b).constData(), times, 0), 0);
    ASSERT_EQ(FileStamp::of(b)->modifiedNs, before.modifiedNs);
    EXPECT_FALSE(index.find(b, *FileStamp::of(b)));

    // Only the owner may enter the folder and read the file: it holds faces from the user's photos.
    EXPECT_EQ(modeOf(QFileInfo(indexPath()).absolutePath()), 0700u);
    EXPECT_EQ(modeOf(indexPath()), 0600u);
}

TEST_F(FaceIndexTest, forgetsPhotosThatAreGoneAndClears)
{
    QDir(m_dir.path()).mkdir(QStringLiteral("sub"));
    const QString kept = photo(QStringLiteral("kept.jpg"));
    const QString gone = photo(QStringLiteral("gone.jpg"));
    const QString deep = photo(QStringLiteral("sub/deep.jpg"));
    FaceIndex index(indexPath(), version);
    for (const QString& path : {kept, gone, deep}) {
        index.remember(path, entryFor(path, 1));
    }
    index.flush();
    QFile::remove(gone);
    QFile::remove(deep);
    index.pruneMissing(m_dir.path(), false);
    index.flush();
    EXPECT_EQ(index.stats().photos, 2) << "only the folder itself was searched again";
    index.pruneMissing(m_dir.path(), true);
    index.flush();
    EXPECT_EQ(index.stats().photos, 1);
    // Pruning everywhere takes the photos of a folder that is gone, and keeps those of a disk that is
    // not plugged in.
    const QString vanished = m_dir.filePath(QStringLiteral("vanished"));
    QDir().mkpath(vanished);
    const QString inVanished = photo(QStringLiteral("vanished/a.jpg"));
    index.remember(inVanished, entryFor(inVanished, 1));
    index.remember(QStringLiteral("/media/no-such-disk/DCIM/b.jpg"), entryFor(kept, 1));
    index.flush();
    QDir(vanished).removeRecursively();
    EXPECT_EQ(index.pruneEverywhere(), 1);
    EXPECT_EQ(index.stats().photos, 2);

    // Clearing leaves no face on disk: the damaged copies moved aside go too, and a search in another
    // process stops storing rather than bringing its findings back.
    writeFile(indexPath() + QStringLiteral(".broken-20260101-000000-000"), "faces of an older, damaged index");
    EXPECT_EQ(index.stats().brokenCopies, 1);
    FaceIndex other(indexPath(), version);
    EXPECT_TRUE(index.clear());
    EXPECT_EQ(index.stats().photos, 0);
    EXPECT_EQ(index.stats().brokenCopies, 0);
    other.remember(kept, entryFor(kept, 1));
    other.flush();
    EXPECT_EQ(index.stats().photos, 0);
    EXPECT_TRUE(other.notice().contains(QStringLiteral("emptied"))) << other.notice().toStdString();
    // This process's own searches go on storing after the emptying.
    index.remember(kept, entryFor(kept, 1));
    index.flush();
    EXPECT_EQ(index.stats().photos, 1);
}

// A disk that fills during a search: the index says once why it stopped storing, and can still be
// emptied (its files removed), as root on a small tmpfs of its own.
TEST_F(FaceIndexTest, aFullDiskIsSaidOnceAndTheIndexCanStillBeEmptied)
{
    const QString disk = m_dir.filePath(QStringLiteral("disk"));
    QDir().mkpath(disk);
    if (::geteuid() != 0 || ::mount("tmpfs", QFile::encodeName(disk).constData(), "tmpfs", 0, "size=256k") != 0) {
        GTEST_SKIP() << "needs root to mount a small tmpfs";
    }
    {
        const QString path = disk + QStringLiteral("/face-morvelin/faces.sqlite");
        FaceIndex index(path, version);
        ASSERT_TRUE(index.isOpen()) << index.notice().toStdString();
        for (int n = 0; n < 200 && index.notice().isEmpty(); ++n) {
            const QString each = photo(QStringLiteral("full%1.jpg").arg(n));
            index.remember(each, entryFor(each, 4));
            index.flush();
        }
        EXPECT_TRUE(index.notice().contains(QStringLiteral("the disk is full"))) << index.notice().toStdString();
        EXPECT_TRUE(index.clear());
        EXPECT_FALSE(QFileInfo::exists(path) && index.stats().photos > 0);
    }
    ::umount(QFile::encodeName(disk).constData());
}

// Linux names are bytes: a name that is not UTF-8 and its U+FFFD spelling are two photos.
TEST_F(FaceIndexTest, keysANameByItsOwnBytes)
{
    const QByteArray folder = QFile::encodeName(m_dir.path());
    const QString latin1 = NativePath::decode(folder + "/caf\xe9.jpg");
    const QString replaced = NativePath::decode(folder + "/caf\xef\xbf\xbd.jpg");
    for (const QString& name : {latin1, replaced}) {
        const int fd = ::open(NativePath::encode(name).constData(), O_CREAT | O_WRONLY, 0600);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::write(fd, "photo", 5), 5);
        ::close(fd);
    }
    FaceIndex index(indexPath(), version);
    index.remember(latin1, entryFor(latin1, 1));
    index.remember(replaced, entryFor(replaced, 3));
    index.flush();
    EXPECT_EQ(index.stats().photos, 2);
    EXPECT_EQ(index.find(latin1, *FileStamp::of(latin1))->faces.size(), 1u);
    EXPECT_EQ(index.find(replaced, *FileStamp::of(replaced))->faces.size(), 3u);
}

// SQLite checks its pages, not the faces inside: one changed byte of a stored face or of the photo's
// error must make the entry unanswered (the photo is scanned again), said once.
TEST_F(FaceIndexTest, dropsAnEntryWhoseFacesWereDamaged)
{
    const QString a = photo(QStringLiteral("a.jpg"));
    const QString b = photo(QStringLiteral("b.jpg"));
    {
        FaceIndex index(indexPath(), version);
        index.remember(a, entryFor(a, 2));
        index.remember(b, entryFor(b, 1));
    }
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(indexPath()).constData(), &db), SQLITE_OK);
    // A byte in the middle of a's vectors, and b's error text.
    const QByteArray damage = "UPDATE photos SET vectors = substr(vectors, 1, 4) || x'7f' || substr(vectors, 6) "
                              "WHERE face_count = 2; UPDATE photos SET error = 'not a picture' WHERE face_count = 1;";
    ASSERT_EQ(sqlite3_exec(db, damage.constData(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    FaceIndex index(indexPath(), version);
    EXPECT_FALSE(index.find(a, *FileStamp::of(a)));
    EXPECT_FALSE(index.find(b, *FileStamp::of(b)));
    EXPECT_TRUE(index.notice().contains(QStringLiteral("damaged"))) << index.notice().toStdString();
}

// Whatever lies at the index's place, the index starts anew beside it and says so once.
TEST_F(FaceIndexTest, movesADamagedOrForeignFileAside)
{
    const QString a = photo(QStringLiteral("a.jpg"));
    const auto makeForeign = [](const QString& path, const char* sql) {
        sqlite3* db = nullptr;
        sqlite3_open(QFile::encodeName(path).constData(), &db);
        sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
        sqlite3_close(db);
    };
    QByteArray valid;
    {
        FaceIndex index(indexPath(), version);
        index.remember(a, entryFor(a, 3));
    }
    QFile original(indexPath());
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    valid = original.readAll();

    const std::vector<std::function<void(const QString&)>> damages = {
        [&](const QString& path) { writeFile(path, valid.left(valid.size() / 2 + 100)); },
        [&](const QString& path) { writeFile(path, QByteArray(8192, '\x5a')); },
        [&](const QString& path) { makeForeign(path, "CREATE TABLE photos(x); INSERT INTO photos VALUES(1);"); },
        [&](const QString& path) { makeForeign(path, "PRAGMA application_id=1179479922; PRAGMA user_version=99;"); },
    };
    for (std::size_t n = 0; n < damages.size(); ++n) {
        QFile::remove(indexPath());
        damages[n](indexPath());
        FaceIndex index(indexPath(), version);
        EXPECT_TRUE(index.isOpen()) << n;
        EXPECT_TRUE(index.notice().contains(QStringLiteral("moved aside"))) << n << index.notice().toStdString();
        EXPECT_FALSE(index.find(a, *FileStamp::of(a))) << n;
        index.remember(a, entryFor(a, 1));
        index.flush();
        EXPECT_EQ(index.find(a, *FileStamp::of(a))->faces.size(), 1u) << n;
    }
    const QStringList aside = QDir(QFileInfo(indexPath()).absolutePath())
                                  .entryList({QStringLiteral("faces.sqlite.broken-*")}, QDir::Files);
    EXPECT_GE(aside.size(), int(damages.size()));
}

// An index on a share the user may only read (here a read-only mount as root, modes otherwise)
// answers, stores nothing and leaves no log or lock file beside it.
TEST_F(FaceIndexTest, aReadOnlyIndexOnlyAnswers)
{
    const QString a = photo(QStringLiteral("a.jpg"));
    const QString b = photo(QStringLiteral("b.jpg"));
    const QString share = m_dir.filePath(QStringLiteral("share"));
    QDir().mkpath(share);
    const QByteArray mountPoint = QFile::encodeName(share);
    const bool asRoot = ::geteuid() == 0;
    if (asRoot && ::mount("tmpfs", mountPoint.constData(), "tmpfs", 0, "size=4m") != 0) {
        GTEST_SKIP() << "cannot mount a tmpfs";
    }
    const QString path = share + QStringLiteral("/faces.sqlite");
    {
        FaceIndex index(path, version);
        index.remember(a, entryFor(a, 2));
    }
    if (asRoot) {
        ASSERT_EQ(::mount(nullptr, mountPoint.constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0);
    } else {
        ::chmod(QFile::encodeName(path).constData(), 0400);
        ::chmod(mountPoint.constData(), 0500);
    }
    {
        FaceIndex index(path, version);
        EXPECT_TRUE(index.isOpen()) << index.notice().toStdString();
        EXPECT_TRUE(index.readOnly());
        ASSERT_TRUE(index.find(a, *FileStamp::of(a)));
        EXPECT_EQ(index.find(a, *FileStamp::of(a))->faces.size(), 2u);
        index.remember(b, entryFor(b, 1));
        index.flush();
        EXPECT_FALSE(index.find(b, *FileStamp::of(b)));
        EXPECT_EQ(index.stats().photos, 1);
    }
    EXPECT_EQ(QDir(share).entryList(QDir::Files), QStringList{QStringLiteral("faces.sqlite")});
    if (asRoot) {
        ::umount(mountPoint.constData());
    } else {
        ::chmod(mountPoint.constData(), 0700);
    }
}

// An index made by an older program is emptied and made anew without calling it damaged.
TEST_F(FaceIndexTest, anOlderIndexStartsAnewWithoutAWord)
{
    QDir().mkpath(QFileInfo(indexPath()).absolutePath());
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(indexPath()).constData(), &db), SQLITE_OK);
    sqlite3_exec(db, "PRAGMA application_id=1179479922; PRAGMA user_version=1; CREATE TABLE photos(path BLOB PRIMARY KEY,"
                 " faces BLOB); INSERT INTO photos VALUES(x'2f61', x'00'); CREATE TABLE clears(at INTEGER)",
                 nullptr, nullptr, nullptr);
    sqlite3_close(db);
    FaceIndex index(indexPath(), version);
    EXPECT_TRUE(index.isOpen());
    EXPECT_EQ(index.notice(), QString());
    EXPECT_EQ(index.stats().photos, 0);
    EXPECT_EQ(index.stats().brokenCopies, 0);
    const QString a = photo(QStringLiteral("a.jpg"));
    index.remember(a, entryFor(a, 1));
    index.flush();
    EXPECT_TRUE(index.find(a, *FileStamp::of(a)));
}

// A cache folder that cannot hold the index (here a file in its place, which even root cannot write
// into) leaves the search without the index, said once.
TEST_F(FaceIndexTest, runsWithoutTheIndexWhenItsFolderIsUnusable)
{
    QDir().mkpath(m_dir.path() + QStringLiteral("/cache"));
    writeFile(QFileInfo(indexPath()).absolutePath(), "not a folder");
    FaceIndex index(indexPath(), version);
    EXPECT_FALSE(index.isOpen());
    EXPECT_TRUE(index.notice().contains(QStringLiteral("searching without it")));
    const QString a = photo(QStringLiteral("a.jpg"));
    index.remember(a, entryFor(a, 1));
    index.flush();
    EXPECT_FALSE(index.find(a, *FileStamp::of(a)));
}

// Two searches at once (the window and the command line) share the file without "database is locked".
TEST_F(FaceIndexTest, twoWritersAtOnceBothLand)
{
    std::vector<QString> photos;
    for (int n = 0; n < 200; ++n) {
        photos.push_back(photo(QStringLiteral("p%1.jpg").arg(n)));
    }
    {
        FaceIndex first(indexPath(), version);
        FaceIndex second(indexPath(), version);
        for (std::size_t n = 0; n < photos.size(); ++n) {
            (n % 2 ? first : second).remember(photos[n], entryFor(photos[n], 1));
        }
        EXPECT_TRUE(first.notice().isEmpty());
        EXPECT_TRUE(second.notice().isEmpty());
    }
    EXPECT_EQ(FaceIndex(indexPath(), version).stats().photos, 200);
}

} // namespace

// A changed detector data file makes every remembered scan stale.
TEST(ScanVersionTest, FollowsTheDetectorsDataFile)
{
    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("data.xml"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(MORVELIN_DATA_XML), data));
    const QByteArray before = ScanVersion::of(data);
    EXPECT_EQ(ScanVersion::of(data), before);
    QFile file(data);
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("<!-- changed -->\n");
    file.close();
    const QByteArray changed = ScanVersion::of(data);
    EXPECT_NE(changed, before);
    // So does a new revision of the cutting or the framing code, and the libraries are part of it.
    ScanVersion::Revisions cutting;
    ++cutting.cutting;
    ScanVersion::Revisions framing;
    ++framing.framing;
    EXPECT_NE(ScanVersion::of(data, cutting), changed);
    EXPECT_NE(ScanVersion::of(data, framing), changed);
    EXPECT_NE(ScanVersion::of(data, cutting), ScanVersion::of(data, framing));
    EXPECT_TRUE(ScanVersion::libraryVersions().contains(QStringLiteral("OpenCV"))) << ScanVersion::libraryVersions().toStdString();
}
