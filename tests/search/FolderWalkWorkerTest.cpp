#include "search/FolderWalkWorker.h"

#include "WaitUntil.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace morvelin;

// Many more entries than the queue holds, photos and skipped images, come through it in the walk's order.
TEST(FolderWalkWorkerTest, MoreEntriesThanTheQueueHoldsComeInTheWalksOrder)
{
    QTemporaryDir dir;
    for (std::size_t i = 0; i < 3 * FolderWalkWorker::queueSize; ++i) {
        QFile(dir.filePath(QStringLiteral("p%1.%2").arg(i).arg(i % 3 ? "jpg" : "xcf"))).open(QIODevice::WriteOnly);
    }
    const auto described = [](FolderWalk::Step step, const QString& path, const QString& reason) {
        return step == FolderWalk::Step::Skipped ? path + ": " + reason : path;
    };
    QStringList walked;
    FolderWalk walk(dir.path(), false);
    QString path;
    for (FolderWalk::Step step; (step = walk.next(path)) != FolderWalk::Step::Finished;) {
        if (step != FolderWalk::Step::Other) {
            walked << described(step, path, walk.skipReason());
        }
    }
    QStringList handedOver;
    FolderWalkWorker worker({.folder = dir.path()}, [] {});
    EXPECT_TRUE(waitUntil([&] {
        for (auto entry = worker.take(); entry; entry = worker.take()) {
            if (entry->step == FolderWalk::Step::Finished) {
                return true;
            }
            handedOver << described(entry->step, entry->path, entry->skipReason);
        }
        return false;
    }));
    EXPECT_EQ(walked.size(), 3 * FolderWalkWorker::queueSize);
    EXPECT_EQ(handedOver, walked);
}
