// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

// The search against what real folders hold: special files, signals, decompression bombs, names that
// are not UTF-8, mislabelled photos, unreadable folders and broken files.
#include "ProgramRunner.h"

#include <QDir>
#include <QImage>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace morvelin::testing;

namespace {

const QString astronaut = testPhoto(QStringLiteral("astronaut.png"));

// Names as the bytes they are, which Qt's own file functions cannot take.
void copyAs(const QString& from, const QString& folder, const std::string& name)
{
    std::filesystem::copy_file(from.toStdString(), folder.toStdString() + '/' + name);
}

QStringList search(const QString& folder, const QStringList& more = {})
{
    return QStringList{QStringLiteral("search"), QStringLiteral("--face"), astronaut} + more + QStringList{folder};
}

struct Stopped {
    int exitCode = -1;
    QString out;
    QString err;
};

// Starts a search over many photos and sends it `sent` a moment in, one after the other.
Stopped interrupt(const QString& corpus, const QString& temp, const std::vector<int>& sent,
                  const QStringList& more = {})
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TMPDIR"), temp);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(FACE_MORVELIN_BINARY), search(corpus, more));
    process.waitForStarted();
    // The private folder is made once the program watches for signals.
    for (int waited = 0; QDir(temp).isEmpty() && waited < 200; ++waited) {
        QThread::msleep(100);
    }
    QThread::msleep(1000);
    for (const int signalNumber : sent) {
        ::kill(static_cast<pid_t>(process.processId()), signalNumber);
        QThread::msleep(50);
    }
    process.waitForFinished(20000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

} // namespace

TEST(SearchSafetyTest, SpecialFilesAreSkippedAndEverySignalCleansUp)
{
    SKIP_WITHOUT_PHOTOS();
    QTemporaryDir small;
    copyAs(astronaut, small.path(), "astronaut.png");
    ASSERT_EQ(::mkfifo(QFile::encodeName(small.filePath(QStringLiteral("pipe.jpg"))).constData(), 0600), 0);
    const Outcome withPipe = runProgram(search(small.path(), {QStringLiteral("--verbose")}));
    EXPECT_EQ(withPipe.exitCode, 0);
    EXPECT_TRUE(withPipe.err.contains(QStringLiteral("pipe.jpg: not a photo"))) << withPipe.err.toStdString();
    EXPECT_TRUE(withPipe.err.contains(QStringLiteral("1 photo found, 1 scanned"))) << withPipe.err.toStdString();
    EXPECT_TRUE(withPipe.err.contains(QStringLiteral("1 file could not be read"))) << "the pipe is counted as it is named";
    const QString pipe = small.filePath(QStringLiteral("pipe.jpg"));
    EXPECT_EQ(runProgram({QStringLiteral("faces"), pipe}).exitCode, 2);
    EXPECT_EQ(runProgram({QStringLiteral("compare"), pipe, astronaut}).exitCode, 2);

    QTemporaryDir corpus;
    const QDir faces(testPhoto(QStringLiteral("faces")));
    for (int copy = 0; copy < 20; ++copy) {
        for (const QString& name : faces.entryList({QStringLiteral("*.jpg")}, QDir::Files)) {
            copyAs(faces.filePath(name), corpus.path(), QStringLiteral("%1_%2").arg(copy).arg(name).toStdString());
        }
    }
    QTemporaryDir temp;
    // Exit status: 128 + the signal, a search cut short saying so; Ctrl-C finishes the photos in hand,
    // a second one does not wait for them.
    const struct {
        std::vector<int> sent;
        int exitCode;
        QStringList format;
    } cases[] = {{{SIGINT}, 130, {}}, {{SIGINT, SIGINT}, 130, {QStringLiteral("--json")}},
                 {{SIGTERM}, 143, {QStringLiteral("--json")}}, {{SIGHUP}, 129, {QStringLiteral("--json")}}};
    for (const auto& [sent, exitCode, format] : cases) {
        const Stopped stopped = interrupt(corpus.path(), temp.path(), sent, format);
        EXPECT_EQ(stopped.exitCode, exitCode) << stopped.err.toStdString();
        if (format.isEmpty()) {
            EXPECT_TRUE(stopped.err.contains(QStringLiteral("face-morvelin: stopping"))) << stopped.err.toStdString();
        } else {
            EXPECT_FALSE(QJsonDocument::fromJson(stopped.out.toUtf8()).object().value(QStringLiteral("complete")).toBool(true));
        }
        EXPECT_TRUE(QDir(temp.path()).isEmpty()) << exitCode;
    }
}

// A list that does not reach its reader is never taken for an empty one: a reader gone before the
// end exits 141, a full disk 74, both with a message; and the private folder still goes.
TEST(SearchSafetyTest, LostOutputIsAnErrorOfItsOwn)
{
    SKIP_WITHOUT_PHOTOS();
    QTemporaryDir small;
    copyAs(astronaut, small.path(), "astronaut.png");
    QTemporaryDir temp;
    const struct {
        const char* shell;
        int exitCode;
        const char* message;
    } cases[] = {
        {"\"$0\" search $3 --face \"$1\" \"$2\" | true; exit ${PIPESTATUS[0]}", 141, "its reader closed the pipe"},
        {"exec \"$0\" search $3 --face \"$1\" \"$2\" >/dev/full", 74, "No space left on device"},
    };
    for (const auto& [line, exitCode, message] : cases) {
        for (const QString& format : {QStringLiteral("--verbose"), QStringLiteral("--json")}) {
            const Outcome shell = runCommand(QStringLiteral("/bin/bash"), {QStringLiteral("-c"), QLatin1String(line),
                                             QStringLiteral(FACE_MORVELIN_BINARY), astronaut, small.path(), format},
                                             temp.path());
            EXPECT_EQ(shell.exitCode, exitCode) << line << ' ' << shell.err.toStdString();
            EXPECT_TRUE(shell.err.contains(QLatin1String(message))) << shell.err.toStdString();
            EXPECT_TRUE(QDir(temp.path()).isEmpty()) << line;
        }
    }
}

// With few files allowed open, the search scans fewer photos at once rather than failing photos or
// aborting in a thread that found no descriptor; with too few it says so and exits 71.
TEST(SearchSafetyTest, TheLimitOfOpenFilesCapsTheScansAtOnce)
{
    SKIP_WITHOUT_PHOTOS();
    QTemporaryDir folder;
    for (const char* name : {"a.png", "b.png", "c.png", "d.png"}) {
        copyAs(astronaut, folder.path(), name);
    }
    const auto limited = [&](int files) {
        return runCommand(QStringLiteral("/usr/bin/prlimit"),
                          QStringList{QStringLiteral("--nofile=%1:%1").arg(files), QStringLiteral(FACE_MORVELIN_BINARY)}
                              + search(folder.path(), {QStringLiteral("--jobs"), QStringLiteral("8"),
                                                       QStringLiteral("--no-index"), QStringLiteral("--verbose")}));
    };
    const Outcome few = limited(24);
    EXPECT_EQ(few.exitCode, 0) << few.err.toStdString();
    EXPECT_EQ(few.out.count(QLatin1Char('\n')), 4) << few.err.toStdString();
    EXPECT_TRUE(few.err.contains(QStringLiteral("at once instead of 8"))) << few.err.toStdString();
    EXPECT_FALSE(few.err.contains(QStringLiteral("could not be read"))) << few.err.toStdString();
    const Outcome tooFew = limited(16);
    EXPECT_EQ(tooFew.exitCode, 71) << tooFew.err.toStdString();
    EXPECT_TRUE(tooFew.err.contains(QStringLiteral("too few files may be open"))) << tooFew.err.toStdString();
}

TEST(SearchSafetyTest, BombsAreRefusedOrWaitForTheirShareOfMemory)
{
    SKIP_WITHOUT_PHOTOS();
    QTemporaryDir folder;
    QProcess maker;
    maker.start(QStringLiteral(MAKE_PHOTO_BOMBS), {folder.path()});
    ASSERT_TRUE(maker.waitForFinished(120000) && maker.exitCode() == 0);
    copyAs(astronaut, folder.path(), "astronaut.png");

    const Outcome outcome = runProgram(search(folder.path(), {QStringLiteral("--verbose"), QStringLiteral("--jobs"),
                                                              QStringLiteral("4"), QStringLiteral("--memory-limit"),
                                                              QStringLiteral("512")}));
    rusage usage{};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err.toStdString();
    EXPECT_TRUE(outcome.out.contains(QStringLiteral("astronaut.png")));
    const std::pair<const char*, const char*> refusals[] = {
        {"deep-10000.png", "more than the memory limit of 512 MB"},
        {"deep-8000.png", "more than the memory limit of 512 MB"},
        {"runs-10000.tga", "more than the memory limit of 512 MB"},
        {"progressive-65000.jpg", "more than the memory limit of 512 MB"},
        {"scans-2000.jpg", "more than 100 scans"},
        {"sparse-1gib.jpg", "none of the photo types"},
    };
    for (const auto& [name, reason] : refusals) {
        const QString line = outcome.err.section(QLatin1String(name) + QStringLiteral(": "), 1).section('\n', 0, 0);
        EXPECT_TRUE(line.contains(QLatin1String(reason))) << name << ": " << line.toStdString();
    }
    EXPECT_FALSE(outcome.err.contains(QStringLiteral("baseline-65000.jpg"))) << "decoded at the scan's size";
    EXPECT_LT(usage.ru_maxrss / 1024, 512 + 320) << "peak MB of the search";
}

TEST(SearchSafetyTest, NamesAreBytesAndTheContentDecidesTheDecoder)
{
    SKIP_WITHOUT_PHOTOS();
    // The search runs inside its own temporary folder's parent: the private folder is never listed.
    QTemporaryDir folder;
    copyAs(astronaut, folder.path(), "caf\xe9.jpg");
    std::filesystem::create_directory(folder.path().toStdString() + "/d\xe9r");
    copyAs(astronaut, folder.path(), "d\xe9r/a.png");
    copyAs(astronaut, folder.path(), "new\nline.png");
    // A line separator and a C1 control would break the line as a newline does.
    copyAs(astronaut, folder.path(), "line\u2028sep\u0085.png");
    const QStringList recursive{QStringLiteral("--recursive")};

    const Outcome text = runProgram(search(folder.path(), recursive), folder.path());
    ASSERT_EQ(text.exitCode, 0) << text.err.toStdString();
    QStringList names;
    for (const QString& line : text.out.split('\n', Qt::SkipEmptyParts)) {
        names.append(line.section(folder.path() + '/', 1));
    }
    names.sort();
    EXPECT_EQ(names, (QStringList{"caf\\351.jpg", "d\\351r/a.png", "line\\342\\200\\250sep\\302\\205.png",
                                  "new\\nline.png"}))
        << text.out.toStdString();

    const Outcome json = runProgram(search(folder.path(), recursive + QStringList{QStringLiteral("--json")}));
    EXPECT_TRUE(json.out.contains(QStringLiteral("caf\\udce9.jpg"))) << json.out.toStdString();
    const QJsonObject document = QJsonDocument::fromJson(json.out.toUtf8()).object();
    EXPECT_EQ(document.value(QStringLiteral("photos")).toArray().size(), 4);
    EXPECT_TRUE(document.value(QStringLiteral("complete")).toBool());
}

// The photo as every type a search reads, under their longer and upper-case names, written at test
// time; a .heic holding a PNG is read as the PNG it is. An image of a type the program does not read
// is named, as special files are, and not counted.
TEST(SearchSafetyTest, EveryPhotoTypeIsListedAndOtherImagesAreNamed)
{
    SKIP_WITHOUT_PHOTOS();
    QTemporaryDir folder;
    const QImage photo(astronaut);
    for (const char* name : {"a.jpeg", "c.tiff", "d.webp"}) {
        ASSERT_TRUE(photo.save(folder.filePath(QLatin1String(name)))) << name;
    }
    for (const char* name : {"e.heic", "h.avif"}) {
        QProcess convert;
        convert.start(QStringLiteral("convert"), {astronaut, folder.filePath(QLatin1String(name))});
        ASSERT_TRUE(convert.waitForFinished(60000) && convert.exitCode() == 0) << name;
    }
    copyAs(folder.filePath(QStringLiteral("a.jpeg")), folder.path(), "b.JPE");
    copyAs(folder.filePath(QStringLiteral("e.heic")), folder.path(), "f.HEIF");
    copyAs(astronaut, folder.path(), "g.heic");
    copyAs(astronaut, folder.path(), "drawing.xcf");

    const Outcome outcome = runProgram(search(folder.path(), {QStringLiteral("--verbose"), QStringLiteral("--json")}));
    ASSERT_EQ(outcome.exitCode, 0) << outcome.err.toStdString();
    const QJsonObject document = QJsonDocument::fromJson(outcome.out.toUtf8()).object();
    QStringList listed;
    for (const QJsonValue& entry : document.value(QStringLiteral("photos")).toArray()) {
        listed.append(entry.toObject().value(QStringLiteral("path")).toString().section('/', -1));
        EXPECT_EQ(entry.toObject().value(QStringLiteral("width")).toInt(), 512) << listed.last().toStdString();
    }
    listed.sort();
    EXPECT_EQ(listed, (QStringList{"a.jpeg", "b.JPE", "c.tiff", "d.webp", "e.heic", "f.HEIF", "g.heic", "h.avif"}));
    EXPECT_TRUE(outcome.err.contains(QStringLiteral("drawing.xcf: not an image type this program reads (.xcf)")))
        << outcome.err.toStdString();
    EXPECT_EQ(document.value(QStringLiteral("unreadableFiles")).toInt(), 0);
}

TEST(SearchSafetyTest, UnreadableFoldersAreNamedAndATopOneExitsTwo)
{
    SKIP_WITHOUT_PHOTOS();
    // Outside the test's own temporary folder, which only its owner may enter.
    QTemporaryDir folder(QStringLiteral("/tmp/face-morvelin-walk-XXXXXX"));
    QTemporaryDir temp(QStringLiteral("/tmp/face-morvelin-temp-XXXXXX"));
    QFile::setPermissions(temp.path(), QFileDevice::Permissions(0x7777));
    QFile::setPermissions(folder.path(), QFileDevice::Permissions(0x7755));
    const QString locked = folder.filePath(QStringLiteral("locked"));
    QDir().mkpath(locked);
    QFile::setPermissions(locked, QFileDevice::Permissions());
    copyAs(astronaut, folder.path(), "astronaut.png");
    QFile::setPermissions(folder.filePath(QStringLiteral("astronaut.png")), QFileDevice::Permissions(0x4444));
    // Folders with no permission at all are open to root: the program runs as nobody then.
    const auto run = [&](const QString& top) {
        QStringList arguments = search(top, {QStringLiteral("--recursive"), QStringLiteral("--verbose")});
        if (::getuid() == 0) {
            arguments = QStringList{QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                                    QStringLiteral("--clear-groups"), QStringLiteral("env"),
                                    QStringLiteral("TMPDIR=") + temp.path(), QStringLiteral(FACE_MORVELIN_BINARY)}
                + arguments;
        }
        return runCommand(::getuid() == 0 ? QStringLiteral("/usr/bin/setpriv") : QStringLiteral(FACE_MORVELIN_BINARY),
                          arguments);
    };
    const Outcome top = run(locked);
    EXPECT_EQ(top.exitCode, 2);
    EXPECT_TRUE(top.err.contains(QStringLiteral("cannot search '%1': Permission denied").arg(locked))) << top.err.toStdString();

    const Outcome inside = run(folder.path());
    EXPECT_EQ(inside.exitCode, 0) << inside.err.toStdString();
    EXPECT_TRUE(inside.err.contains(QStringLiteral("not read: %1/locked/: Permission denied").arg(folder.path())))
        << inside.err.toStdString();
    EXPECT_TRUE(inside.err.contains(QStringLiteral("1 folder could not be read"))) << inside.err.toStdString();
}

TEST(SearchSafetyTest, MessagesSayWhatWentWrongAndNothingElse)
{
    SKIP_WITHOUT_PHOTOS();
    QTemporaryDir folder;
    // A PNG whose header reads but whose pixels do not.
    QFile source(astronaut);
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    QByteArray png = source.readAll();
    const qsizetype data = png.indexOf("IDAT") + 8;
    png.replace(data, 64, QByteArray(64, '\x55'));
    const QString broken = folder.filePath(QStringLiteral("broken.png"));
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(png) == png.size());
    file.close();

    const Outcome faces = runProgram({QStringLiteral("faces"), broken});
    EXPECT_EQ(faces.exitCode, 2);
    EXPECT_FALSE(faces.err.contains(QStringLiteral("no picture to save"))) << faces.err.toStdString();
    EXPECT_FALSE(faces.err.contains(QStringLiteral("libpng"))) << "the decoder's own chatter stays off";

    // Finding faces writes nothing: a temporary folder that cannot be made is no reason to fail.
    const Outcome noTemp = runProgram({QStringLiteral("faces"), astronaut}, broken); // a file, not a folder
    EXPECT_EQ(noTemp.exitCode, 0) << noTemp.err.toStdString();
    EXPECT_EQ(noTemp.out.count(QLatin1Char('\n')), 1);
}
