#include "search/PhotoScan.h"

#include "search/ResultList.h"

#include "WaitUntil.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace morvelin;

namespace {

struct ScanOutcome {
    QSize scannedSize;
    std::vector<PhotoScan::Stage> stages;
    int completed = 0;
    QString failure;
};

// Runs one scan to its end on this thread's event loop.
ScanOutcome scanPhoto(const QString& photo, const QString& tempFolder, const QString& dataPath)
{
    auto sourceFace = std::make_shared<const PixelCanvas>(48, 48, 0x808080);
    PhotoScan scan(sourceFace, tempFolder);
    ScanOutcome outcome;
    QObject::connect(&scan, &PhotoScan::photoLoaded, [&](const QImage& image) { outcome.scannedSize = image.size(); });
    QObject::connect(&scan, &PhotoScan::stageChanged, [&](PhotoScan::Stage stage) { outcome.stages.push_back(stage); });
    QObject::connect(&scan, &PhotoScan::Completed, [&]() { ++outcome.completed; });
    scan.Start(photo, dataPath);
    waitUntil([&] { return outcome.completed > 0; }, 60000);
    // Anything queued after Completed would show up here.
    QCoreApplication::processEvents();
    outcome.failure = scan.failure();
    return outcome;
}

QString writePhoto(const QTemporaryDir& dir, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(qRgb(120, 140, 160));
    const QString path = dir.filePath(QStringLiteral("%1x%2.png").arg(width).arg(height));
    image.save(path);
    return path;
}

} // namespace

TEST(PhotoScanTest, PhotosAreScaledToTheirScanSize)
{
    QTemporaryDir photos;
    QTemporaryDir temp;
    const QString tempFolder = temp.path() + QLatin1Char('/');
    const QString noDetector = photos.filePath(QStringLiteral("absent-data.xml"));
    const struct {
        int width, height;
        QSize scanned;
    } cases[] = {
        {1000, 1500, {800, 1200}},  {900, 1200, {900, 1200}},   {900, 1201, {899, 1200}},
        {2400, 1800, {1600, 1200}}, {1700, 1700, {1600, 1600}}, {1600, 1200, {1600, 1200}},
    };
    for (const auto& c : cases) {
        const ScanOutcome outcome = scanPhoto(writePhoto(photos, c.width, c.height), tempFolder, noDetector);
        EXPECT_EQ(outcome.scannedSize, c.scanned) << c.width << " x " << c.height;
        EXPECT_EQ(outcome.completed, 1);
        EXPECT_FALSE(outcome.failure.isEmpty()) << "without a data file the detector cannot run";
    }
    EXPECT_TRUE(QDir(temp.path()).isEmpty()) << "every temporary JPEG is removed";
}

TEST(PhotoScanTest, AnUnreadablePhotoStillCompletesOnce)
{
    QTemporaryDir photos;
    QTemporaryDir temp;
    const QString broken = photos.filePath(QStringLiteral("broken.jpg"));
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("no jpeg here") > 0);
    file.close();

    const ScanOutcome outcome = scanPhoto(broken, temp.path() + QLatin1Char('/'), photos.filePath(QStringLiteral("d.xml")));
    EXPECT_EQ(outcome.completed, 1);
    EXPECT_FALSE(outcome.failure.isEmpty());
    ASSERT_FALSE(outcome.stages.empty());
    EXPECT_EQ(outcome.stages.front(), PhotoScan::Stage::Loading);
    EXPECT_EQ(outcome.stages.back(), PhotoScan::Stage::Completed);
    EXPECT_TRUE(QDir(temp.path()).isEmpty());
}
