#include "search/FolderSearch.h"

#include "search/PhotoScan.h"
#include "search/ResultList.h"

#include <QDir>
#include <QEventLoop>
#include <QImage>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>

using namespace morvelin;

namespace {

struct SearchOutcome {
    int mostScansAtOnce = 0;
    int finished = 0;
    FolderSearch::Counts counts;
};

// Runs a whole search on this thread's event loop. Without a detector data file every scan still
// loads, scales, filters and writes its temporary JPEG, then fails at detection.
SearchOutcome searchFolder(const QString& folder, const QString& tempFolder, int maxScans)
{
    ResultList results;
    FolderSearch search(results, {.dataPath = QDir(folder).filePath(QStringLiteral("absent-data.xml")), .tempFolder = tempFolder, .maxScans = maxScans});
    SearchOutcome outcome;
    QEventLoop loop;
    QObject::connect(&search, &FolderSearch::scanStarted, [&](PhotoScan*) {
        outcome.mostScansAtOnce = std::max(outcome.mostScansAtOnce, search.scansInFlight());
    });
    QObject::connect(&search, &FolderSearch::finished, [&]() {
        ++outcome.finished;
        loop.quit();
    });
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    search.start(std::make_shared<const SourceFace>(SourceFace{Matcher::Grid, PixelCanvas(48, 48, 0x808080), {}}), folder, false);
    loop.exec();
    outcome.counts = search.counts();
    return outcome;
}

void writePhotos(const QTemporaryDir& dir, int count)
{
    QImage image(640, 480, QImage::Format_RGB32);
    image.fill(qRgb(90, 120, 150));
    for (int i = 0; i < count; ++i) {
        image.save(dir.filePath(QStringLiteral("photo%1.jpg").arg(i)));
    }
}

} // namespace

TEST(FolderSearchTest, NoMoreScansUnderWayThanAllowed)
{
    QTemporaryDir photos;
    QTemporaryDir temp;
    writePhotos(photos, 7);
    const int savedPoolSize = PhotoScan::pool().maxThreadCount();
    PhotoScan::pool().setMaxThreadCount(4);

    const SearchOutcome outcome = searchFolder(photos.path(), temp.path() + QLatin1Char('/'), 2);
    PhotoScan::pool().setMaxThreadCount(savedPoolSize);

    EXPECT_EQ(outcome.finished, 1);
    EXPECT_EQ(outcome.counts.photosSeen, 7);
    EXPECT_EQ(outcome.counts.photosScanned, 7);
    EXPECT_LE(outcome.mostScansAtOnce, 2) << "each scan in flight holds a decoded photo";
    EXPECT_TRUE(QDir(temp.path()).isEmpty()) << "every temporary JPEG is removed";
}
