// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "app/BackgroundIndexer.h"

#include "base/BackgroundWork.h"
#include "base/Folders.h"
#include "platform/Settings.h"
#include "platform/ThreadPriority.h"

#include <QThread>
#include <QThreadPool>
#include <QTimer>

namespace morvelin {

namespace {

constexpr int endingWaitMs = 3000;
// How often the settings are read again for a list changed with `index --watch` or `--unwatch`.
constexpr int settingsCheckMs = 60 * 1000;

} // namespace

BackgroundIndexer::BackgroundIndexer(QString dataPath, QObject* parent)
    : QObject(parent)
    , m_thread(new QThread)
    , m_scans(new QThreadPool)
    , m_keeper(new WatchedFolderKeeper(std::move(dataPath), TempFolder()))
    , m_folders(Settings::watchedFolders())
{
    qRegisterMetaType<Status>();
    m_thread->setObjectName(QStringLiteral("watched folders"));
    // One scan thread that never ends, so that its priority, set once, holds for every scan.
    m_scans->setMaxThreadCount(1);
    m_scans->setExpiryTimeout(-1);
    m_scans->start([] { ThreadPriority::lowerCurrentThread(); });
    BackgroundWork::usePoolFor(m_thread, m_scans);
    m_keeper->moveToThread(m_thread);
    connect(m_thread, &QThread::started, m_keeper, [keeper = m_keeper, folders = m_folders] {
        ThreadPriority::lowerCurrentThread();
        keeper->start();
        keeper->setFolders(folders);
    });
    connect(m_thread, &QThread::finished, m_keeper, &QObject::deleteLater);
    connect(m_keeper, &WatchedFolderKeeper::statusChanged, this, [this](const Status& status) {
        m_status = status;
        emit statusChanged();
    });
    m_thread->start();
    auto* settingsCheck = new QTimer(this);
    connect(settingsCheck, &QTimer::timeout, this, [this] {
        if (const QStringList stored = Settings::watchedFolders(); stored != m_folders) {
            setFolders(stored);
        }
    });
    settingsCheck->start(settingsCheckMs);
}

BackgroundIndexer::~BackgroundIndexer()
{
    QMetaObject::invokeMethod(m_keeper, [keeper = m_keeper] { keeper->setPaused(true); });
    m_thread->quit();
    const bool ended = m_thread->wait(endingWaitMs) && m_scans->waitForDone(endingWaitMs);
    BackgroundWork::usePoolFor(m_thread, nullptr);
    if (!ended) {
        // Deleting a thread that still runs aborts the program: it goes with the process instead.
        return;
    }
    delete m_thread;
    delete m_scans;
}

void BackgroundIndexer::setFolders(const QStringList& folders)
{
    m_folders = folders;
    QMetaObject::invokeMethod(m_keeper, [keeper = m_keeper, folders] { keeper->setFolders(folders); });
}

void BackgroundIndexer::setPaused(bool paused)
{
    QMetaObject::invokeMethod(m_keeper, [keeper = m_keeper, paused] { keeper->setPaused(paused); });
}

void BackgroundIndexer::reindex()
{
    QMetaObject::invokeMethod(m_keeper, [keeper = m_keeper] { keeper->reindex(); });
}

} // namespace morvelin
