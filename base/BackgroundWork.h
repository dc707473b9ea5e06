// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QObject>
#include <QtConcurrent/QtConcurrentRun>

#include <functional>
#include <utility>

namespace morvelin {

// Work off the calling thread, all of it on the program's one pool of worker threads. What a piece of
// work reports reaches its receiver on the receiver's own thread, in the order reported, and is
// dropped once the receiver is gone: a receiver may be destroyed while its work still runs.
class BackgroundWork : public QObject {
    Q_OBJECT

public:
    using Report = std::function<void()>;

    // Queue: in line behind the work already waiting. First: ahead of all work waiting, on the first
    // thread that comes free, for what a user waits for while a search keeps every thread busy.
    enum class Turn { Queue, First };

    // Starts `work` on the pool; it reports through the BackgroundWork it is handed.
    static void start(QObject* receiver, std::function<void(BackgroundWork&)> work, Turn turn = Turn::Queue);

    // Starts `work` on the pool and hands its result to `done` on the receiver's thread.
    template <typename Work, typename Done>
    static void run(QObject* receiver, Work work, Done done, Turn turn = Turn::Queue)
    {
        start(
            receiver,
            [work = std::move(work), done = std::move(done)](BackgroundWork& self) {
                self.post([done, result = work()] { done(result); });
            },
            turn);
    }

    // Starts `work` on the pool, for a caller that waits for its result.
    template <typename Work>
    static auto future(Work work)
    {
        return QtConcurrent::run(&pool(), std::move(work));
    }

    // From the work: `report` runs on the receiver's thread after everything posted before it.
    void post(Report report);

    // One thread per core, unless the command line asks for another count; work beyond it waits in
    // line.
    static QThreadPool& pool();
    // Work started for receivers living on `thread` runs on `own` instead of the shared pool, so a
    // background job keeps to threads of its own whatever it starts; null: the shared pool again.
    static void usePoolFor(const QThread* thread, QThreadPool* own);

signals:
    void posted(const morvelin::BackgroundWork::Report& report);

private:
    BackgroundWork() = default;
    static QThreadPool& poolFor(const QThread* thread);
};

} // namespace morvelin
