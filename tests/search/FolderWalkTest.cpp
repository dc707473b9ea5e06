#include "search/FolderWalk.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <dirent.h>

using namespace morvelin;

namespace {

void touch(const QString& path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
}

QStringList walkAll(const QString& folder, bool subDirs)
{
    FolderWalk walk(folder, subDirs);
    QStringList photos;
    QString photo;
    for (FolderWalk::Step step; (step = walk.next(photo)) != FolderWalk::Step::Finished;) {
        if (step == FolderWalk::Step::Photo) {
            photos << photo;
        }
    }
    return photos;
}

// The entries of one folder in the order the file system gives them, without "." and "..".
QStringList entriesInDiskOrder(const QString& folder)
{
    QStringList names;
    DIR* handle = ::opendir(QFile::encodeName(folder).constData());
    while (const dirent* entry = ::readdir(handle)) {
        const QString name = QFile::decodeName(entry->d_name);
        if (name != QLatin1String(".") && name != QLatin1String("..")) {
            names << name;
        }
    }
    ::closedir(handle);
    return names;
}

} // namespace

TEST(FolderWalkTest, OnlyTheNinePhotoEndingsAreScanned)
{
    for (const char* name : {"a.bmp", "b.TIF", "c.gif", "d.JPG", "e.jpg", "f.png", "g.pcx", "h.tga", "i.jp2", "j.J2K"}) {
        EXPECT_TRUE(FolderWalk::isPhotoPath(QStringLiteral("/photos/") + QLatin1String(name))) << name;
    }
    for (const char* name : {"a.jpeg", "b.tiff", "c.jpg.txt", "jpg", "d.webp", "e.jpg~"}) {
        EXPECT_FALSE(FolderWalk::isPhotoPath(QStringLiteral("/photos/") + QLatin1String(name))) << name;
    }
    EXPECT_TRUE(FolderWalk::isPhotoPath(QStringLiteral(".jpg")));
}

TEST(FolderWalkTest, SubFoldersComeDepthFirstInTheFileSystemsOrder)
{
    QTemporaryDir dir;
    const QString root = dir.path();
    for (const char* name : {"a.jpg", "b.png", "c.txt", "d.jpeg", "z.gif"}) {
        touch(root + QLatin1Char('/') + QLatin1String(name));
    }
    QDir(root).mkpath(QStringLiteral("sub/deeper"));
    touch(root + QStringLiteral("/sub/s1.bmp"));
    touch(root + QStringLiteral("/sub/s2.tga"));
    touch(root + QStringLiteral("/sub/deeper/d1.pcx"));

    QStringList expected;
    for (const QString& name : entriesInDiskOrder(root)) {
        if (name == QLatin1String("sub")) {
            for (const QString& inner : entriesInDiskOrder(root + QStringLiteral("/sub"))) {
                if (inner == QLatin1String("deeper")) {
                    expected << root + QStringLiteral("/sub/deeper/d1.pcx");
                } else {
                    expected << root + QStringLiteral("/sub/") + inner;
                }
            }
        } else if (FolderWalk::isPhotoPath(name)) {
            expected << root + QLatin1Char('/') + name;
        }
    }
    EXPECT_EQ(walkAll(root, true), expected);
    EXPECT_EQ(walkAll(root + QLatin1Char('/'), true), expected) << "a trailing separator changes nothing";

    const QStringList flat = walkAll(root, false);
    EXPECT_EQ(flat.size(), 3);
    for (const QString& photo : flat) {
        EXPECT_FALSE(photo.contains(QStringLiteral("/sub/"))) << photo.toStdString();
    }
}

TEST(FolderWalkTest, StopEndsTheWalkBeforeTheNextEntry)
{
    QTemporaryDir dir;
    for (int i = 0; i < 10; ++i) {
        touch(dir.filePath(QStringLiteral("p%1.jpg").arg(i)));
    }
    FolderWalk walk(dir.path(), true);
    QString photo;
    while (walk.next(photo) != FolderWalk::Step::Photo) {
    }
    walk.stop();
    EXPECT_EQ(walk.next(photo), FolderWalk::Step::Finished);
    EXPECT_EQ(walk.next(photo), FolderWalk::Step::Finished);
}

TEST(FolderWalkTest, LinksAreFollowedButNoFolderIsEnteredTwice)
{
    QTemporaryDir dir;
    const QString root = dir.path();
    QDir(root).mkpath(QStringLiteral("album"));
    touch(root + QStringLiteral("/album/x.jpg"));
    // A link back to the top of the tree, and a link to a file.
    ASSERT_TRUE(QFile::link(root, root + QStringLiteral("/album/loop")));
    ASSERT_TRUE(QFile::link(root + QStringLiteral("/album/x.jpg"), root + QStringLiteral("/linked.jpg")));

    const QStringList photos = walkAll(root, true);
    EXPECT_EQ(photos.size(), 2) << photos.join(QLatin1Char(' ')).toStdString();
    EXPECT_TRUE(photos.contains(root + QStringLiteral("/linked.jpg")));
}

TEST(FolderWalkTest, UnreadableFoldersAreCountedAndSkipped)
{
    QTemporaryDir dir;
    FolderWalk missing(dir.filePath(QStringLiteral("absent")), true);
    QString path;
    EXPECT_EQ(missing.next(path), FolderWalk::Step::Skipped);
    EXPECT_TRUE(path.endsWith(QStringLiteral("/absent/")) && missing.skippedFolder()) << path.toStdString();
    EXPECT_EQ(missing.skipReason().toStdString(), "No such file or directory");
    EXPECT_EQ(missing.next(path), FolderWalk::Step::Finished);
    EXPECT_EQ(missing.unreadableFolders(), 1);

    FolderWalk notAFolder(QStringLiteral("Browse..."), true);
    EXPECT_EQ(notAFolder.next(path), FolderWalk::Step::Skipped);
    EXPECT_EQ(notAFolder.next(path), FolderWalk::Step::Finished);
}

TEST(FolderWalkTest, NamesOutsideAsciiKeepTheirCharacters)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("Ämter"));
    const QString photo = dir.path() + QStringLiteral("/Ämter/Ölfass 東京.jpg");
    touch(photo);
    EXPECT_EQ(walkAll(dir.path(), true), QStringList{photo});
}
