#include "app/SearchCommand.h"

#include "app/CommandLine.h"
#include "app/FacesCommand.h"
#include "app/SearchReport.h"
#include "app/VerbArguments.h"
#include "base/BackgroundWork.h"
#include "base/DataFolder.h"
#include "base/Folders.h"
#include "platform/UnixSignalWatcher.h"
#include "search/FaceFeatures.h"
#include "search/FaceIndex.h"
#include "search/FolderSearch.h"
#include "search/FolderWalk.h"
#include "search/NativePath.h"
#include "search/PhotoScan.h"
#include "search/ResultList.h"
#include "search/ScanVersion.h"
#include "search/SourcePicture.h"

#include <QEventLoop>
#include <QThread>
#include <QThreadPool>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace morvelin {

namespace {

bool isCount(const QString& text)
{
    bool ok = false;
    const int count = text.toInt(&ok);
    return ok && count >= 1;
}

} // namespace

bool SearchCommand::parse(const QStringList& operands, Options& options, QString& problem)
{
    VerbArguments arguments(QStringLiteral("search"));
    arguments.addValue(QStringLiteral("face"), QStringLiteral("--face needs a value"));
    for (const QString& count : {QStringLiteral("pick"), QStringLiteral("jobs"), QStringLiteral("memory-limit")}) {
        arguments.addValue(count, QStringLiteral("--%1 needs a value").arg(count), isCount,
                           QStringLiteral("--%1 takes a whole number from 1 up").arg(count));
    }
    FacesCommand::addMatcherOption(arguments);
    for (const QString& flag : {QStringLiteral("verbose"), QStringLiteral("recursive"), QStringLiteral("no-index"),
                               QStringLiteral("json")}) {
        arguments.addSwitch(flag);
    }
    arguments.setExtraOperand(QStringLiteral("search takes one folder"));
    if (!arguments.parse(operands)) {
        problem = arguments.problem();
        return false;
    }
    const auto count = [&](const QString& name, int given) {
        return arguments.isSet(name) ? arguments.value(name).toInt() : given;
    };
    options.facePhoto = arguments.value(QStringLiteral("face"));
    options.pick = count(QStringLiteral("pick"), options.pick);
    options.jobs = count(QStringLiteral("jobs"), options.jobs);
    options.memoryLimitMb = count(QStringLiteral("memory-limit"), options.memoryLimitMb);
    options.matcher = FacesCommand::matcherOf(arguments);
    options.verbose = arguments.isSet(QStringLiteral("verbose"));
    options.recursive = arguments.isSet(QStringLiteral("recursive"));
    options.useIndex = !arguments.isSet(QStringLiteral("no-index"));
    options.json = arguments.isSet(QStringLiteral("json"));
    options.folder = arguments.operand();
    if (options.facePhoto.isEmpty()) {
        problem = QStringLiteral("search needs --face PHOTO");
        return false;
    }
    if (options.folder.isEmpty()) {
        problem = QStringLiteral("search needs a folder");
        return false;
    }
    return true;
}

int SearchCommand::run(const QStringList& operands, QTextStream& out, QTextStream& err)
{
    Options options;
    QString problem;
    if (!parse(operands, options, problem)) {
        return CommandLine::usageError(err, problem);
    }
    const QString dataPath = DetectorDataPath();
    if (const QString problem = FolderWalk::problemWith(options.folder); !problem.isEmpty()) {
        err << CommandLine::programName << ": cannot search '" << NativePath::escaped(options.folder)
            << "': " << problem << Qt::endl;
        return CommandLine::exitUsage;
    }

    // A broken model says so before any photo is read; the grid needs none.
    if (options.matcher == Matcher::Features) {
        if (const FaceFeatures::Loaded model = FaceFeatures::forFile(FaceFeatures::pathBeside(dataPath)); !model.model) {
            err << CommandLine::programName << ": " << model.error << Qt::endl;
            return CommandLine::exitUsage;
        }
    }

    // Watched from here on, so that a signal during the face's detection still cleans up; the
    // event loop hands it over once the search runs.
    UnixSignalWatcher interrupts({SIGINT, SIGTERM, SIGHUP, SIGPIPE});
    const SourcePicture::Result found = SourcePicture::findFaces(options.facePhoto, dataPath);
    if (const int problem = FacesCommand::checkFound(found, err); problem != CommandLine::exitOk) {
        return problem;
    }
    if (options.pick > static_cast<int>(found.faces.size())) {
        err << CommandLine::programName << ": --pick " << options.pick << " but the photo has only "
            << found.faces.size() << (found.faces.size() == 1 ? " face" : " faces") << Qt::endl;
        return CommandLine::exitNothingFound;
    }
    QString modelError;
    auto sourceFace = std::make_shared<const SourceFace>(SourcePicture::sourceFace(
        found, static_cast<std::size_t>(options.pick - 1), options.matcher, dataPath, modelError));
    if (!modelError.isEmpty()) {
        err << CommandLine::programName << ": " << modelError << Qt::endl;
        return CommandLine::exitUsage;
    }

    const int jobs = options.jobs > 0 ? options.jobs : QThread::idealThreadCount();
    BackgroundWork::pool().setMaxThreadCount(jobs);
    ResultList results;
    FolderSearch::Settings settings{.dataPath = dataPath, .tempFolder = TempFolder(), .maxScans = jobs};
    settings.memoryLimit = std::int64_t(options.memoryLimitMb) << 20;
    if (options.useIndex) {
        settings.index = std::make_shared<FaceIndex>(FaceIndex::defaultPath(), ScanVersion::of(dataPath));
        if (!settings.index->notice().isEmpty()) {
            err << CommandLine::programName << ": " << settings.index->notice() << Qt::endl;
        }
    }
    FolderSearch search(results, settings);
    SearchReport report(results, search, CommandLine::messagesOnTerminal(), err);
    report.setVerbose(options.verbose);

    // The shell's way: 128 + the number of the signal that cut the search short.
    int stoppedBy = 0;
    const auto writeResults = [&]() {
        report.finish(stoppedBy == 0);
        if (options.json) {
            report.writeJson(out, options.matcher);
        } else {
            report.writeList(out);
        }
    };
    QEventLoop loop;
    QObject::connect(&search, &FolderSearch::finished, &loop, &QEventLoop::quit);
    // A closed terminal or reader must not end the program before it cleans up.
    QObject::connect(&interrupts, &UnixSignalWatcher::received, &search, [&](int signalNumber) {
        if (stoppedBy != 0) {
            // A second signal: the photos in hand are not waited for.
            writeResults();
            endNow(128 + stoppedBy);
        }
        stoppedBy = signalNumber;
        report.noteStopping();
        search.StopSearchButton();
    });
    search.start(sourceFace, options.folder, options.recursive);
    loop.exec();

    writeResults();
    const int status = stoppedBy == 0 ? CommandLine::exitOk : 128 + stoppedBy;
    if (search.abandonedScansRunning() > 0) {
        endNow(status);
    }
    return status;
}

void SearchCommand::endNow(int status)
{
    std::fflush(nullptr);
    // The clean-up runs, but nothing waits for a worker still inside a decoder.
    std::quick_exit(status);
}

} // namespace morvelin
