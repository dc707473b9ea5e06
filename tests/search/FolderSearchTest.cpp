#include "search/FolderSearch.h"

#include "search/PhotoScan.h"
#include "search/ResultList.h"

#include "WaitUntil.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QThreadPool>

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
    FolderSearch search(results, {QDir(folder).filePath(QStringLiteral("absent-data.xml")), tempFolder, maxScans});
    SearchOutcome outcome;
    QObject::connect(&search, &FolderSearch::scanStarted, [&](PhotoScan*) {
        outcome.mostScansAtOnce = std::max(outcome.mostScansAtOnce, search.scansInFlight());
    });
    QObject::connect(&search, &FolderSearch::finished, [&]() { ++outcome.finished; });
    search.start(std::make_shared<const PixelCanvas>(48, 48, 0x808080), folder, false);
    waitUntil([&] { return outcome.finished > 0; }, 60000);
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
