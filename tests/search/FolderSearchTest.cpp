// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "base/BackgroundWork.h"
#include "GridQuery.h"
#include "search/FolderSearch.h"

#include "search/PhotoScan.h"
#include "search/ResultList.h"

#include "WaitUntil.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <latch>

using namespace morvelin;

TEST(FolderSearchTest, NoMoreScansUnderWayThanAllowed)
{
    QTemporaryDir photos;
    QTemporaryDir temp;
    QImage image(640, 480, QImage::Format_RGB32);
    image.fill(qRgb(90, 120, 150));
    for (int i = 0; i < 7; ++i) {
        image.save(photos.filePath(QStringLiteral("photo%1.jpg").arg(i)));
    }
    const int savedPoolSize = BackgroundWork::pool().maxThreadCount();
    BackgroundWork::pool().setMaxThreadCount(4);

    // Without a detector data file every scan runs up to detection, then fails.
    ResultList results;
    FolderSearch search(results, {.dataPath = photos.filePath(QStringLiteral("absent-data.xml")), .tempFolder = temp.path() + '/', .maxScans = 2});
    int mostScansAtOnce = 0;
    int finished = 0;
    QObject::connect(&search, &FolderSearch::scanStarted,
                     [&](PhotoScan*) { mostScansAtOnce = std::max(mostScansAtOnce, search.scansInFlight()); });
    QObject::connect(&search, &FolderSearch::finished, [&]() { ++finished; });
    search.start(gridQuery(), photos.path(), false);
    waitUntil([&] { return finished > 0; }, 60000);
    BackgroundWork::pool().setMaxThreadCount(savedPoolSize);

    EXPECT_EQ(finished, 1);
    EXPECT_EQ(search.counts().photosSeen, 7);
    EXPECT_EQ(search.counts().photosScanned, 7);
    EXPECT_LE(mostScansAtOnce, 2) << "each scan in flight holds a decoded photo";
    EXPECT_TRUE(QDir(temp.path()).isEmpty()) << "a search leaves nothing in the temporary folder";
}

// A scan abandoned over its time limit gets a thread of its own until its decode ends; the pool
// must get back to its size even when the search is destroyed first.
TEST(FolderSearchTest, AnAbandonedScanGivesItsThreadBackAfterItsSearchIsGone)
{
    QTemporaryDir photos;
    QTemporaryDir temp;
    QImage image(4000, 3000, QImage::Format_RGB32);
    image.fill(qRgb(90, 120, 150));
    image.save(photos.filePath(QStringLiteral("large.png")));
    BackgroundWork::pool().waitForDone();
    const int idle = BackgroundWork::pool().activeThreadCount();
    {
        ResultList results;
        FolderSearch search(results, {.dataPath = photos.filePath(QStringLiteral("absent-data.xml")),
                                      .tempFolder = temp.path() + '/', .maxScans = 1, .photoSeconds = 0});
        int notRead = 0;
        QObject::connect(&search, &FolderSearch::notRead, [&] { ++notRead; });
        search.start(gridQuery(), photos.path(), false);
        waitUntil([&] { return notRead > 0; }, 60000);
        ASSERT_EQ(search.abandonedScansRunning(), 1) << "the decode outlasts a limit of 0 s";
    }
    BackgroundWork::pool().waitForDone();
    waitUntil([&] { return BackgroundWork::pool().activeThreadCount() == idle; }, 10000);
    EXPECT_EQ(BackgroundWork::pool().activeThreadCount(), idle);
}

// A folder listing that hangs, as on a dead network mount, holds up neither the event loop, nor Stop,
// nor the next search; the walk left in it must not touch the search once its call returns.
TEST(FolderSearchTest, AHungListingHoldsUpNeitherTheEventLoopNorStopNorTheNextSearch)
{
    QTemporaryDir photos;
    QTemporaryDir hung;
    QTemporaryDir temp;
    QImage(8, 8, QImage::Format_RGB32).save(photos.filePath(QStringLiteral("a.jpg")));
    const auto release = std::make_shared<std::latch>(1);
    const auto stuck = std::make_shared<std::atomic<int>>(0);
    FolderSearch::Settings settings{.dataPath = photos.filePath(QStringLiteral("absent-data.xml")),
                                    .tempFolder = temp.path() + '/'};
    settings.openFolder = [=, hungPath = QFile::encodeName(hung.path())](const char* path) {
        if (QByteArray(path).startsWith(hungPath)) {
            ++*stuck;
            release->wait();
        }
        return ::opendir(path);
    };
    ResultList results;
    auto search = std::make_unique<FolderSearch>(results, settings);
    int ticks = 0;
    int finished = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    QObject::connect(search.get(), &FolderSearch::finished, [&] { ++finished; });
    timer.start(1);
    search->start(gridQuery(), hung.path(), true);
    EXPECT_TRUE(waitUntil([&] { return *stuck == 1 && ticks >= 3; }));
    search->StopSearchButton();
    EXPECT_TRUE(waitUntil([&] { return finished == 1; }, 5000));

    search->start(gridQuery(), photos.path(), false);
    EXPECT_TRUE(waitUntil([&] { return finished == 2; }));
    EXPECT_EQ(search->counts().photosSeen, 1);
    search->start(gridQuery(), hung.path(), false);
    EXPECT_TRUE(waitUntil([&] { return *stuck == 2; }));
    search.reset();
    release->count_down();
}
