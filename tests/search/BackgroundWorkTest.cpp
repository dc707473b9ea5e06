// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "base/BackgroundWork.h"

#include "WaitUntil.h"

#include <QCoreApplication>
#include <QThread>
#include <QThreadPool>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>

using namespace morvelin;

// A search keeps every thread of the pool busy and more scans waiting; what the user waits for goes
// ahead of them, and what was sent to a receiver no longer there is dropped.
TEST(BackgroundWorkTest, FirstGoesAheadOfTheQueueAndReportsReachOnlyLivingReceivers)
{
    std::atomic<int> released{0};
    std::atomic<int> busy{0};
    QObject receiver;
    const int threads = BackgroundWork::pool().maxThreadCount();
    for (int i = 0; i < threads; ++i) {
        BackgroundWork::start(&receiver, [&, i](BackgroundWork&) {
            ++busy;
            while (released <= i) {
                QThread::msleep(5);
            }
        });
    }
    waitUntil([&] { return busy == threads; }, 10000);

    QString order;
    BackgroundWork::run(&receiver, [] { return 'q'; }, [&](char c) { order += QLatin1Char(c); });
    BackgroundWork::run(&receiver, [] { return 'f'; }, [&](char c) { order += QLatin1Char(c); }, BackgroundWork::Turn::First);
    bool reported = false;
    auto gone = std::make_unique<QObject>();
    BackgroundWork::run(gone.get(), [] { return 0; }, [&](int) { reported = true; });
    gone.reset();
    released = 1; // one thread comes free, the others stay busy
    waitUntil([&] { return !order.isEmpty(); }, 10000);
    released = threads;
    BackgroundWork::pool().waitForDone();
    QCoreApplication::processEvents();
    EXPECT_EQ(order, QStringLiteral("fq"));
    EXPECT_FALSE(reported);
}
