// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "base/BackgroundWork.h"

#include <QHash>
#include <QThreadPool>

#include <exception>
#include <memory>
#include <mutex>

namespace morvelin {

namespace {

std::mutex ownPoolsMutex;
QHash<const QThread*, QThreadPool*> ownPools;

} // namespace

void BackgroundWork::start(QObject* receiver, std::function<void(BackgroundWork&)> work, Turn turn)
{
    // Queued into the receiver's thread, and Qt drops what is still queued when the receiver goes.
    // From here on the sender only sends, from the worker, which also deletes it.
    std::shared_ptr<BackgroundWork> sender(new BackgroundWork);
    connect(sender.get(), &BackgroundWork::posted, receiver, [](const Report& report) { report(); },
            Qt::QueuedConnection);
    sender->moveToThread(nullptr);
    auto task = [sender, work = std::move(work)] {
        try {
            work(*sender);
        } catch (const std::exception& error) {
            qWarning("background work failed: %s", error.what());
        }
    };
    poolFor(receiver->thread()).start(std::move(task), turn == Turn::First ? 1 : 0);
}

void BackgroundWork::post(Report report)
{
    emit posted(report);
}

void BackgroundWork::usePoolFor(const QThread* thread, QThreadPool* own)
{
    const std::lock_guard lock(ownPoolsMutex);
    if (own) {
        ownPools.insert(thread, own);
    } else {
        ownPools.remove(thread);
    }
}

QThreadPool& BackgroundWork::poolFor(const QThread* thread)
{
    const std::lock_guard lock(ownPoolsMutex);
    QThreadPool* own = ownPools.value(thread);
    return own ? *own : pool();
}

QThreadPool& BackgroundWork::pool()
{
    static QThreadPool shared;
    return shared;
}

} // namespace morvelin
