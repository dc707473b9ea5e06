// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "app/SearchCommand.h"

#include "app/CommandLine.h"
#include "app/FacesCommand.h"
#include "app/IndexCommand.h"
#include "app/SearchReport.h"
#include "app/VerbArguments.h"
#include "base/BackgroundWork.h"
#include "base/DataFolder.h"
#include "base/Folders.h"
#include "platform/UnixSignalWatcher.h"
#include "search/FaceIndex.h"
#include "search/FolderSearch.h"
#include "search/FolderWalk.h"
#include "search/MatcherRegistry.h"
#include "search/PhotoPixels.h"
#include "search/NativePath.h"
#include "search/OpenFilesLimit.h"
#include "search/PhotoScan.h"
#include "search/ResultList.h"
#include "search/ScanVersion.h"
#include "search/SourcePicture.h"

#include <QEventLoop>
#include <QThread>
#include <QThreadPool>
#include <QTimer>

#include <cmath>
#include <csignal>
#include <optional>
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

// A percentage from 0 to 100 with at most four decimals, as scores are kept.
std::optional<std::int64_t> percentInTenThousandths(const QString& text)
{
    bool ok = false;
    const double percent = text.toDouble(&ok);
    if (!ok || !(percent >= 0 && percent <= 100)) {
        return std::nullopt;
    }
    const double tenThousandths = percent * 10000;
    if (std::abs(tenThousandths - std::round(tenThousandths)) > 1e-6) {
        return std::nullopt;
    }
    return std::int64_t(std::llround(tenThousandths));
}

QString facesText(std::size_t count)
{
    return QStringLiteral("%1 %2").arg(count).arg(count == 1 ? QStringLiteral("face") : QStringLiteral("faces"));
}

} // namespace

bool SearchCommand::parse(const QStringList& operands, Options& options, QString& problem)
{
    VerbArguments arguments(QStringLiteral("search"));
    arguments.addValue(QStringLiteral("face"), QStringLiteral("--face needs a value"));
    arguments.addValue(QStringLiteral("index"), QStringLiteral("--index needs a value"));
    for (const QString& count : {QStringLiteral("pick"), QStringLiteral("jobs"), QStringLiteral("memory-limit")}) {
        arguments.addValue(count, QStringLiteral("--%1 needs a value").arg(count), isCount,
                           QStringLiteral("--%1 takes a whole number from 1 up").arg(count));
    }
    arguments.addValue(QStringLiteral("threshold"), QStringLiteral("--threshold needs a value"),
                       [](const QString& text) { return percentInTenThousandths(text).has_value(); },
                       QStringLiteral("--threshold takes a percentage from 0 to 100"));
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
    options.jobs = count(QStringLiteral("jobs"), options.jobs);
    options.memoryLimitMb = count(QStringLiteral("memory-limit"), options.memoryLimitMb);
    options.matcher = arguments.value(QStringLiteral("matcher"));
    if (arguments.isSet(QStringLiteral("threshold"))) {
        options.thresholdTenThousandths = *percentInTenThousandths(arguments.value(QStringLiteral("threshold")));
    }
    options.verbose = arguments.isSet(QStringLiteral("verbose"));
    options.recursive = arguments.isSet(QStringLiteral("recursive"));
    options.useIndex = !arguments.isSet(QStringLiteral("no-index"));
    options.indexPath = arguments.value(QStringLiteral("index"));
    options.json = arguments.isSet(QStringLiteral("json"));
    options.folder = arguments.operand();
    if (!readFaces(arguments, options, problem)) {
        return false;
    }
    if (options.folder.isEmpty()) {
        problem = QStringLiteral("search needs a folder");
        return false;
    }
    return true;
}

// A --pick belongs to the --face before it; one before every --face, to the first.
bool SearchCommand::readFaces(const VerbArguments& arguments, Options& options, QString& problem)
{
    int pickBeforeAnyFace = 0;
    for (const auto& [name, value] : arguments.valuesInOrder({QStringLiteral("face"), QStringLiteral("pick")})) {
        if (name == QLatin1String("face")) {
            options.faces.push_back({value, 1});
        } else if (options.faces.empty()) {
            pickBeforeAnyFace = value.toInt();
        } else {
            options.faces.back().pick = value.toInt();
        }
    }
    if (options.faces.empty()) {
        problem = QStringLiteral("search needs --face PHOTO");
        return false;
    }
    if (options.faces.size() > std::size_t(FaceQuery::largestPerson)) {
        problem = QStringLiteral("search takes at most %1 faces").arg(FaceQuery::largestPerson);
        return false;
    }
    if (pickBeforeAnyFace > 0) {
        options.faces.front().pick = pickBeforeAnyFace;
    }
    return true;
}

std::unique_ptr<FaceMatcher> SearchCommand::chooseMatcher(const Options& options, const QString& dataPath,
                                                          QTextStream& err)
{
    QString name = options.matcher;
    if (name.isEmpty()) {
        const MatcherRegistry::Default chosen = MatcherRegistry::defaultFor(dataPath);
        if (!chosen.fallback.isEmpty()) {
            err << CommandLine::programName << ": " << chosen.fallback << Qt::endl;
        }
        name = chosen.name;
    }
    QString problem;
    std::unique_ptr<FaceMatcher> matcher = MatcherRegistry::make(name, dataPath, problem);
    if (!matcher) {
        err << CommandLine::programName << ": " << problem << Qt::endl;
    }
    return matcher;
}

int SearchCommand::readPerson(const Options& options, const QString& dataPath, const FaceMatcher& matcher,
                              std::vector<FoundFace>& person, std::vector<SourcePicture::Result>& found,
                              QTextStream& err)
{
    for (const QueryPhoto& face : options.faces) {
        found.push_back(SourcePicture::findFaces(face.photo, dataPath));
        const SourcePicture::Result& faces = found.back();
        if (const int problem = FacesCommand::checkFound(faces, err); problem != CommandLine::exitOk) {
            return problem;
        }
        if (face.pick > static_cast<int>(faces.faces.size())) {
            err << CommandLine::programName << ": --pick " << face.pick << " but '" << NativePath::escaped(face.photo)
                << "' has only " << facesText(faces.faces.size()) << Qt::endl;
            return CommandLine::exitNothingFound;
        }
        QString problem;
        person.push_back(SourcePicture::personFace(faces, std::size_t(face.pick - 1), matcher, problem));
        if (!problem.isEmpty()) {
            err << CommandLine::programName << ": " << problem << Qt::endl;
            return CommandLine::exitUsage;
        }
    }
    return CommandLine::exitOk;
}

int SearchCommand::scansAtOnce(const Options& options, QTextStream& err)
{
    const int wanted = options.jobs > 0 ? options.jobs : QThread::idealThreadCount();
    const int jobs = OpenFilesLimit::scansWithin(wanted);
    if (jobs == 0) {
        err << CommandLine::programName << ": too few files may be open to search (the limit is "
            << OpenFilesLimit::limit() << ", " << OpenFilesLimit::available()
            << " of them free); raise it, for instance with ulimit -n 1024" << Qt::endl;
    } else if (jobs < wanted) {
        err << CommandLine::programName << ": scanning " << jobs << (jobs == 1 ? " photo" : " photos")
            << " at once instead of " << wanted
            << ": the limit of open files (ulimit -n " << OpenFilesLimit::limit() << ") allows no more" << Qt::endl;
    }
    return jobs;
}

int SearchCommand::run(const QStringList& operands, QTextStream& out, QTextStream& err)
{
    Options options;
    QString problem;
    if (!parse(operands, options, problem)) {
        return CommandLine::usageError(err, QStringLiteral("search"), problem);
    }
    const QString dataPath = DetectorDataPath();
    if (const QString unusable = FolderWalk::problemWith(options.folder); !unusable.isEmpty()) {
        err << CommandLine::programName << ": cannot search '" << NativePath::escaped(options.folder)
            << "': " << unusable << Qt::endl;
        return CommandLine::exitUsage;
    }

    // Before any worker thread starts: one that finds no descriptor for its event loop aborts.
    const int jobs = scansAtOnce(options, err);
    if (jobs == 0) {
        return CommandLine::exitNoDescriptors;
    }

    // A matcher that cannot be used says so before any photo is read.
    std::unique_ptr<FaceMatcher> matcher = chooseMatcher(options, dataPath, err);
    if (!matcher) {
        return CommandLine::exitUsage;
    }

    // Watched from here on, so that a signal during the face's detection still cleans up; the
    // event loop hands it over once the search runs.
    UnixSignalWatcher interrupts({SIGINT, SIGTERM, SIGHUP, SIGPIPE});
    std::vector<FoundFace> person;
    std::vector<SourcePicture::Result> found;
    if (const int status = readPerson(options, dataPath, *matcher, person, found, err); status != CommandLine::exitOk) {
        return status;
    }
    SearchReport::Query reported{matcher->name(), options.thresholdTenThousandths, {}};
    for (std::size_t i = 0; i < person.size(); ++i) {
        reported.faces.push_back({options.faces[i].photo, options.faces[i].pick,
                                  PhotoPixels(found[i].photoSize, found[i].picture.size()), found[i].photoSize,
                                  person[i]});
    }
    const std::shared_ptr<const FaceQuery> query =
        FaceQuery::of(std::move(matcher), person, options.thresholdTenThousandths);

    BackgroundWork::pool().setMaxThreadCount(jobs);
    ResultList results;
    FolderSearch::Settings settings{.dataPath = dataPath, .tempFolder = TempFolder(), .maxScans = jobs};
    settings.memoryLimit = std::int64_t(options.memoryLimitMb) << 20;
    if (options.useIndex) {
        settings.index = std::make_shared<FaceIndex>(IndexCommand::pathOf(options.indexPath), ScanVersion::of(dataPath));
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
            report.writeJson(out, reported);
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
    const QString noticeAtStart = settings.index ? settings.index->notice() : QString();
    search.start(query, options.folder, options.recursive);
    loop.exec();

    // What went wrong with the index during the search (a full disk, an emptying), said once.
    if (settings.index) {
        settings.index->flush();
        if (const QString notice = settings.index->notice(); notice != noticeAtStart) {
            err << CommandLine::programName << ": " << notice << Qt::endl;
        }
    }
    writeResults();
    const int status = stoppedBy == 0 ? CommandLine::exitOk : 128 + stoppedBy;
    if (search.abandonedScansRunning() > 0 || search.abandonedWalkRunning()) {
        endNow(CommandLine::checkedOutput(out, err, status));
    }
    return status;
}

void SearchCommand::endNow(int status)
{
    std::fflush(nullptr);
    // The clean-up runs, but nothing waits for a worker still inside a decoder or a hung listing.
    std::quick_exit(status);
}

} // namespace morvelin
