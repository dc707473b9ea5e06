// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/FolderWalk.h"
#include "search/FolderWalkWorker.h"

#include "WaitUntil.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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

QStringList walkAll(FolderWalk& walk)
{
    QStringList photos;
    QString photo;
    for (FolderWalk::Step step; (step = walk.next(photo)) != FolderWalk::Step::Finished;) {
        if (step == FolderWalk::Step::Photo) {
            photos << photo;
        }
    }
    return photos;
}

QStringList walkAll(const QString& folder, bool subDirs)
{
    FolderWalk walk(folder, subDirs);
    return walkAll(walk);
}

// The entries of `folder` named in `photos`, in the order the file system gives them, sub-folders in place.
QStringList expectedInDiskOrder(const QString& folder, const QStringList& photos)
{
    QStringList found;
    DIR* handle = ::opendir(QFile::encodeName(folder).constData());
    while (const dirent* entry = ::readdir(handle)) {
        const QString path = folder + '/' + QFile::decodeName(entry->d_name);
        if (QFileInfo(path).isDir() && entry->d_name[0] != '.') {
            found << expectedInDiskOrder(path, photos);
        } else if (photos.contains(QFileInfo(path).fileName())) {
            found << path;
        }
    }
    ::closedir(handle);
    return found;
}

} // namespace

TEST(FolderWalkTest, PhotoEndingsComeDepthFirstInTheFileSystemsOrderWithTheirNamesKept)
{
    QTemporaryDir dir;
    const QString root = dir.path();
    QDir(root).mkpath(QStringLiteral("sub/deeper"));
    QDir(root).mkpath(QStringLiteral("Ämter"));
    const QStringList photos{"a.jpg", "b.TIF", "c.gif", "d.jpeg", "e.J2K", "f.png", "g.tiff", "j.JPE", "w.webp",
                             "s1.bmp", "s2.tga", "s3.HEIC", "s4.heif", "d1.pcx", "i.jp2", "k.Avif", "Ölfass 東京.JPG", ".jpg"};
    for (const char* name : {"a.jpg", "b.TIF", "c.gif", "d.jpeg", "e.J2K", "f.png", "g.tiff", "j.JPE", "w.webp", "c.txt",
                             "h.jpg.txt", "jpg", "x.jpg~", ".jpg", "sub/s1.bmp", "sub/s2.tga", "sub/s3.HEIC", "sub/s4.heif",
                             "sub/deeper/d1.pcx", "sub/deeper/i.jp2", "sub/deeper/k.Avif", "Ämter/Ölfass 東京.JPG"}) {
        touch(root + '/' + QString::fromUtf8(name));
    }
    const QStringList expected = expectedInDiskOrder(root, photos);
    EXPECT_EQ(expected.size(), photos.size());
    EXPECT_EQ(walkAll(root, true), expected);
    EXPECT_EQ(walkAll(root + '/', true), expected) << "a trailing separator changes nothing";
    EXPECT_EQ(walkAll(root, false).size(), 10);
}

TEST(FolderWalkTest, ImagesOfOtherTypesAreSkippedWithTheReasonAndOtherFilesPassedOver)
{
    QTemporaryDir dir;
    for (const char* name : {"drawing.xcf", "logo.SVG", "notes.txt", "raw.cr2", "a.jpg"}) {
        touch(dir.filePath(QLatin1String(name)));
    }
    FolderWalk walk(dir.path(), false);
    QStringList skipped;
    QString path;
    for (FolderWalk::Step step; (step = walk.next(path)) != FolderWalk::Step::Finished;) {
        if (step == FolderWalk::Step::Skipped) {
            skipped << QFileInfo(path).fileName() + ": " + walk.skipReason();
        }
    }
    skipped.sort();
    EXPECT_EQ(skipped, (QStringList{"drawing.xcf: not an image type this program reads (.xcf)",
                                    "logo.SVG: not an image type this program reads (.svg)",
                                    "raw.cr2: not an image type this program reads (.cr2)"}));
    EXPECT_EQ(walk.unreadableFolders(), 0);
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
    EXPECT_EQ(photos.size(), 2) << photos.join(' ').toStdString();
    EXPECT_TRUE(photos.contains(root + QStringLiteral("/linked.jpg")));
}

TEST(FolderWalkTest, StopEndsTheWalkAndUnreadableFoldersAreCountedAndSkipped)
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

    FolderWalk missing(dir.filePath(QStringLiteral("absent")), true);
    EXPECT_EQ(missing.next(photo), FolderWalk::Step::Skipped);
    EXPECT_TRUE(photo.endsWith(QStringLiteral("/absent/")) && missing.skippedFolder()) << photo.toStdString();
    EXPECT_EQ(missing.skipReason().toStdString(), "No such file or directory");
    EXPECT_EQ(missing.next(photo), FolderWalk::Step::Finished);
    EXPECT_EQ(missing.unreadableFolders(), 1);
    EXPECT_TRUE(walkAll(QStringLiteral("Browse..."), true).isEmpty());
}

// Many more entries than the worker's queue holds, photos and skipped images alike, come through it
// in the walk's order.
TEST(FolderWalkTest, OnItsOwnThreadTheWalkHandsOverMoreEntriesThanItsQueueHoldsInOrder)
{
    QTemporaryDir dir;
    for (std::size_t i = 0; i < 3 * FolderWalkWorker::queueSize; ++i) {
        touch(dir.filePath(QStringLiteral("p%1.%2").arg(i).arg(i % 3 ? "jpg" : "xcf")));
    }
    QStringList handedOver;
    FolderWalkWorker worker({.folder = dir.path()}, [] {});
    EXPECT_TRUE(waitUntil([&] {
        for (auto entry = worker.take(); entry; entry = worker.take()) {
            if (entry->step == FolderWalk::Step::Finished) {
                return true;
            }
            handedOver << (entry->step == FolderWalk::Step::Photo ? entry->path : QString());
        }
        return false;
    }));
    EXPECT_EQ(handedOver.size(), 3 * FolderWalkWorker::queueSize);
    handedOver.removeAll(QString());
    EXPECT_EQ(handedOver, walkAll(dir.path(), false));
}
