// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "GridQuery.h"
#include "search/FaceIndex.h"
#include "search/FileStamp.h"
#include "search/MemoryBudget.h"
#include "search/PhotoScan.h"

#include "WaitUntil.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace morvelin;

// Without a detector data file every scan still loads and scales, then fails at detection.
TEST(PhotoScanTest, PhotosAreScaledToTheirScanSizeAndEveryScanCompletesOnce)
{
    QTemporaryDir photos;
    QFile broken(photos.filePath(QStringLiteral("broken.jpg")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly) && broken.write("no jpeg here") > 0);
    broken.close();
    const struct {
        int width, height;
        QSize scanned;
    } cases[] = {
        {1000, 1500, {800, 1200}},  {900, 1200, {900, 1200}},   {900, 1201, {899, 1200}},
        {2400, 1800, {1600, 1200}}, {1700, 1700, {1600, 1600}}, {1600, 1200, {1600, 1200}}, {0, 0, {0, 0}},
    };
    for (const auto& c : cases) {
        QString photo = broken.fileName();
        if (c.width > 0) {
            QImage image(c.width, c.height, QImage::Format_RGB32);
            image.fill(qRgb(120, 140, 160));
            photo = photos.filePath(QStringLiteral("%1x%2.png").arg(c.width).arg(c.height));
            image.save(photo);
        }
        SCOPED_TRACE(photo.toStdString());
        PhotoScan scan(gridQuery());
        QSize scanned(0, 0);
        std::vector<PhotoScan::Stage> stages;
        int completed = 0;
        QSize shown;
        QObject::connect(&scan, &PhotoScan::photoMeasured, [&](const QSize&, const QSize& scanSize) { scanned = scanSize; });
        QObject::connect(&scan, &PhotoScan::photoLoaded, [&](const QImage& image) { shown = image.size(); });
        // Only a scan a window shows posts its picture, and only as large as the window shows it.
        const bool watched = c.width % 200 == 0;
        if (watched) {
            scan.showPhotoWithin(QSize(133, 100));
        }
        QObject::connect(&scan, &PhotoScan::stageChanged, [&](PhotoScan::Stage stage) { stages.push_back(stage); });
        QObject::connect(&scan, &PhotoScan::Completed, [&]() { ++completed; });
        scan.Start(photo, photos.filePath(QStringLiteral("absent-data.xml")));
        waitUntil([&] { return completed > 0; }, 60000);
        QCoreApplication::processEvents(); // anything queued after Completed would show up here
        EXPECT_EQ(scanned, c.scanned);
        EXPECT_EQ(shown, watched && c.width > 0 ? c.scanned.scaled(133, 100, Qt::KeepAspectRatio) : QSize());
        EXPECT_EQ(completed, 1);
        EXPECT_FALSE(scan.failure().isEmpty());
        ASSERT_FALSE(stages.empty());
        EXPECT_EQ(stages.front(), PhotoScan::Stage::Loading);
        EXPECT_EQ(stages.back(), PhotoScan::Stage::Completed);
    }
}

namespace {

// Takes every descriptor the process may still open, until destroyed.
class NoDescriptorsLeft {
public:
    NoDescriptorsLeft()
    {
        ::getrlimit(RLIMIT_NOFILE, &m_saved);
        rlimit low = m_saved;
        low.rlim_cur = std::min<rlim_t>(m_saved.rlim_cur, 256);
        ::setrlimit(RLIMIT_NOFILE, &low);
        for (int fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC); fd >= 0; fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC)) {
            m_held.push_back(fd);
        }
    }
    ~NoDescriptorsLeft()
    {
        for (const int fd : m_held) {
            ::close(fd);
        }
        ::setrlimit(RLIMIT_NOFILE, &m_saved);
    }

private:
    rlimit m_saved{};
    std::vector<int> m_held;
};

QString scanWithIndex(const QString& photo, const std::shared_ptr<FaceIndex>& index, const QString& dataPath)
{
    PhotoScan scan(gridQuery());
    scan.setFaceIndex(index);
    bool completed = false;
    QObject::connect(&scan, &PhotoScan::Completed, [&] { completed = true; });
    scan.Start(photo, dataPath);
    waitUntil([&] { return completed; }, 60000);
    index->flush();
    return scan.failure();
}

} // namespace

// The index keeps what the photo decides, not what the machine refused this time: a damaged file is
// remembered as unreadable, a photo that found no descriptor left is scanned again next time.
TEST(PhotoScanTest, OnlyTheFilesOwnFaultsAreRemembered)
{
    QTemporaryDir dir;
    const QString absentData = dir.filePath(QStringLiteral("absent-data.xml"));
    auto index = std::make_shared<FaceIndex>(dir.filePath(QStringLiteral("index/faces.sqlite")), "v1");
    ASSERT_TRUE(index->isOpen());
    const QString broken = dir.filePath(QStringLiteral("broken.jpg"));
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("no jpeg here") > 0);
    file.close();
    const QString good = dir.filePath(QStringLiteral("good.png"));
    QImage picture(64, 48, QImage::Format_RGB32);
    picture.fill(qRgb(120, 140, 160));
    ASSERT_TRUE(picture.save(good));

    EXPECT_FALSE(scanWithIndex(broken, index, absentData).isEmpty());
    ASSERT_TRUE(index->find(broken, *FileStamp::of(broken)));
    QString failure;
    {
        const NoDescriptorsLeft exhausted;
        failure = scanWithIndex(good, index, absentData);
    }
    EXPECT_TRUE(failure.contains(QStringLiteral("open files"))) << failure.toStdString();
    EXPECT_FALSE(index->find(good, *FileStamp::of(good)));
}

// A photo still waiting for its memory when the search stops was not read, nor found unreadable.
TEST(PhotoScanTest, APhotoKeptFromItsTurnByAStopIsNotUnreadable)
{
    QTemporaryDir photos;
    QImage image(640, 480, QImage::Format_RGB32);
    image.fill(qRgb(120, 140, 160));
    const QString photo = photos.filePath(QStringLiteral("photo.png"));
    ASSERT_TRUE(image.save(photo));
    auto budget = std::make_shared<MemoryBudget>();
    budget->cancel();
    PhotoScan scan(gridQuery());
    scan.setMemoryBudget(budget);
    int completed = 0;
    QObject::connect(&scan, &PhotoScan::Completed, [&]() { ++completed; });
    scan.Start(photo, photos.filePath(QStringLiteral("absent-data.xml")));
    waitUntil([&] { return completed > 0; }, 60000);
    EXPECT_TRUE(scan.stoppedBeforeScan()) << scan.failure().toStdString();
}
