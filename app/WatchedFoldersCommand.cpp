// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "app/WatchedFoldersCommand.h"

#include "app/CommandLine.h"
#include "app/IndexCommand.h"
#include "app/VerbArguments.h"
#include "base/BackgroundWork.h"
#include "base/DataFolder.h"
#include "base/Folders.h"
#include "platform/Settings.h"
#include "platform/UnixSignalWatcher.h"
#include "search/FaceIndex.h"
#include "search/FolderIndexer.h"
#include "search/FolderWalk.h"
#include "search/MatcherRegistry.h"
#include "search/NativePath.h"
#include "search/OpenFilesLimit.h"
#include "search/ScanVersion.h"

#include <QEventLoop>
#include <QThread>
#include <QThreadPool>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace morvelin {

namespace {

const QString watchOption = QStringLiteral("watch");
const QString unwatchOption = QStringLiteral("unwatch");
const QString listOption = QStringLiteral("list");
const QString updateOption = QStringLiteral("update");

constexpr int progressIntervalMs = 250;

QString quoted(const QString& folder)
{
    return QLatin1Char('\'') + NativePath::escaped(folder) + QLatin1Char('\'');
}

QString progressText(const FolderIndexer::Progress& progress)
{
    return QStringLiteral("indexing: %1 of %2 photos checked (%3 from the face index)")
        .arg(progress.photosChecked)
        .arg(progress.photosTotal)
        .arg(progress.photosFromIndex);
}

QString counted(int count, const char* one, const char* many)
{
    return QStringLiteral("%1 %2").arg(count).arg(QLatin1String(count == 1 ? one : many));
}

QString unreadText(const FolderIndexer::Progress& progress)
{
    QStringList parts;
    if (progress.unreadablePhotos > 0) {
        parts.append(counted(progress.unreadablePhotos, "file", "files"));
    }
    if (progress.unreadableFolders > 0) {
        parts.append(counted(progress.unreadableFolders, "folder", "folders"));
    }
    return parts.isEmpty() ? QString() : QStringLiteral(" %1 could not be read.").arg(parts.join(QStringLiteral(" and ")));
}

} // namespace

bool WatchedFoldersCommand::handles(const QStringList& operands)
{
    if (operands.isEmpty()) {
        return false;
    }
    const QString& first = operands.first();
    return first.startsWith(QLatin1String("--"))
        && QStringList{watchOption, unwatchOption, listOption, updateOption}.contains(first.mid(2));
}

int WatchedFoldersCommand::run(const QStringList& operands, QTextStream& out, QTextStream& err)
{
    const QString verb = QStringLiteral("index");
    VerbArguments arguments(verb);
    arguments.addValue(watchOption, QStringLiteral("--watch needs a folder"));
    arguments.addValue(unwatchOption, QStringLiteral("--unwatch needs a folder"));
    arguments.addSwitch(listOption);
    arguments.addSwitch(updateOption);
    if (!arguments.parse(operands)) {
        return CommandLine::usageError(err, verb, arguments.problem());
    }
    int actions = 0;
    for (const QString& option : {watchOption, unwatchOption, listOption, updateOption}) {
        actions += arguments.isSet(option) ? 1 : 0;
    }
    if (actions != 1) {
        return CommandLine::usageError(err, verb, IndexCommand::oneAction());
    }
    const QStringList folders = arguments.operands();
    if (arguments.isSet(updateOption)) {
        if (folders.isEmpty()) {
            return CommandLine::usageError(err, verb, QStringLiteral("--update needs a folder"));
        }
        return update(folders, err);
    }
    if (!folders.isEmpty() && arguments.isSet(listOption)) {
        return CommandLine::usageError(err, verb, QStringLiteral("--list takes no folder"));
    }
    if (!folders.isEmpty()) {
        const QString option = arguments.isSet(watchOption) ? watchOption : unwatchOption;
        return CommandLine::usageError(err, verb, QStringLiteral("--%1 takes one folder").arg(option));
    }
    if (arguments.isSet(listOption)) {
        return list(out, err);
    }
    if (arguments.isSet(watchOption)) {
        return watch(arguments.value(watchOption), err);
    }
    return unwatch(arguments.value(unwatchOption), err);
}

int WatchedFoldersCommand::watch(const QString& folder, QTextStream& err)
{
    if (const QString problem = FolderWalk::problemWith(folder); !problem.isEmpty()) {
        return CommandLine::usageError(err, QStringLiteral("index"),
                                       QStringLiteral("cannot watch %1: %2").arg(quoted(folder), problem));
    }
    if (!Settings::watchFolder(folder)) {
        err << CommandLine::programName << ": cannot store the watched folders in the settings" << Qt::endl;
        return CommandLine::exitUsage;
    }
    return CommandLine::exitOk;
}

int WatchedFoldersCommand::unwatch(const QString& folder, QTextStream& err)
{
    if (!Settings::watchedFolders().contains(Settings::watchedForm(folder))) {
        return CommandLine::usageError(err, QStringLiteral("index"),
                                       QStringLiteral("%1 is not watched").arg(quoted(Settings::watchedForm(folder))));
    }
    if (!Settings::unwatchFolder(folder)) {
        err << CommandLine::programName << ": cannot store the watched folders in the settings" << Qt::endl;
        return CommandLine::exitUsage;
    }
    return CommandLine::exitOk;
}

int WatchedFoldersCommand::list(QTextStream& out, QTextStream& err)
{
    for (const QString& folder : Settings::watchedFolders()) {
        out << NativePath::escaped(folder) << '\n';
    }
    out.flush();
    return CommandLine::checkedOutput(out, err, CommandLine::exitOk);
}

int WatchedFoldersCommand::update(const QStringList& folders, QTextStream& err)
{
    for (const QString& folder : folders) {
        if (const QString problem = FolderWalk::problemWith(folder); !problem.isEmpty()) {
            err << CommandLine::programName << ": cannot index " << quoted(folder) << ": " << problem << Qt::endl;
            return CommandLine::exitUsage;
        }
    }
    // Before any worker thread starts: one that finds no descriptor for its event loop aborts.
    const int jobs = OpenFilesLimit::scansWithin(QThread::idealThreadCount());
    if (jobs == 0) {
        err << CommandLine::programName << ": too few files may be open to index (the limit is "
            << OpenFilesLimit::limit() << "); raise it, for instance with ulimit -n 1024" << Qt::endl;
        return CommandLine::exitNoDescriptors;
    }
    const QString dataPath = DetectorDataPath();
    if (const QString fallback = MatcherRegistry::defaultFor(dataPath).fallback; !fallback.isEmpty()) {
        err << CommandLine::programName << ": " << fallback << Qt::endl;
    }
    auto index = std::make_shared<FaceIndex>(Settings::indexPath(FaceIndex::defaultPath()), ScanVersion::of(dataPath));
    if (!index->notice().isEmpty()) {
        err << CommandLine::programName << ": " << index->notice() << Qt::endl;
    }
    if (!index->isOpen()) {
        return CommandLine::exitUsage;
    }
    BackgroundWork::pool().setMaxThreadCount(jobs);
    FolderIndexer indexer({.dataPath = dataPath, .tempFolder = TempFolder(), .index = index, .maxScans = jobs});
    return runToTheEnd(indexer, folders, err);
}

// As a search does: progress on one line of a terminal, the first signal finishes the photos in hand,
// a second one ends at once.
int WatchedFoldersCommand::runToTheEnd(FolderIndexer& indexer, const QStringList& folders, QTextStream& err)
{
    UnixSignalWatcher interrupts({SIGINT, SIGTERM, SIGHUP, SIGPIPE});
    const bool onTerminal = CommandLine::messagesOnTerminal();
    QTimer progress;
    QObject::connect(&progress, &QTimer::timeout, &indexer, [&] {
        // \r and the erase-to-end sequence keep the progress on one line of the terminal.
        err << '\r' << CommandLine::programName << ": " << progressText(indexer.progress()) << "\x1b[K";
        err.flush();
    });
    if (onTerminal) {
        progress.start(progressIntervalMs);
    }
    int stoppedBy = 0;
    const auto summary = [&] {
        progress.stop();
        err << (onTerminal ? "\r\x1b[K" : "") << CommandLine::programName << ": " << progressText(indexer.progress())
            << '.' << unreadText(indexer.progress()) << (stoppedBy != 0 ? " Stopped before the end." : "") << Qt::endl;
    };
    QObject::connect(&interrupts, &UnixSignalWatcher::received, &indexer, [&](int signalNumber) {
        if (stoppedBy != 0) {
            summary();
            endNow(128 + stoppedBy);
        }
        stoppedBy = signalNumber;
        err << (onTerminal ? "\n" : "") << CommandLine::programName << ": stopping: finishing the photos in hand..."
            << Qt::endl;
        indexer.stop();
    });
    QEventLoop loop;
    QObject::connect(&indexer, &FolderIndexer::finished, &loop, &QEventLoop::quit);
    indexer.update(folders);
    loop.exec();
    summary();
    return stoppedBy == 0 ? CommandLine::exitOk : 128 + stoppedBy;
}

void WatchedFoldersCommand::endNow(int status)
{
    std::fflush(nullptr);
    std::quick_exit(status);
}

} // namespace morvelin
