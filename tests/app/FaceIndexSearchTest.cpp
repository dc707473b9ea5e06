// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "ProgramRunner.h"

#include "search/FileStamp.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <string_view>

#include <csignal>

using namespace morvelin::testing;

namespace {

struct Search {
    QJsonArray photos; // with each photo's faces and scores, best first
    int fromIndex = -1;
    int scanned = -1;
};

Search search(const QString& folder, const QString& matcher, bool useIndex = true)
{
    QStringList arguments{QStringLiteral("search"), QStringLiteral("--face"), testPhoto(QStringLiteral("astronaut.png")),
                          QStringLiteral("--matcher"), matcher, QStringLiteral("--json"), QStringLiteral("--recursive"), folder};
    if (!useIndex) {
        arguments.insert(1, QStringLiteral("--no-index"));
    }
    const Outcome outcome = runProgram(arguments);
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err.toStdString();
    const QJsonObject document = QJsonDocument::fromJson(outcome.out.toUtf8()).object();
    return {document.value(QStringLiteral("photos")).toArray(), document.value(QStringLiteral("photosFromIndex")).toInt(),
            document.value(QStringLiteral("photosScanned")).toInt()};
}

// The list as a set of rows, and its scores in order: photos of equal score come in the order their
// scans end, in a fresh search as in one answered from the index.
QStringList scoresInOrder(const QJsonArray& photos)
{
    QStringList scores;
    for (const QJsonValue& photo : photos) {
        scores.append(QString::number(photo.toObject().value(QStringLiteral("xscore")).toInt()));
    }
    return scores;
}

QStringList rows(const QJsonArray& photos)
{
    QStringList rows;
    for (const QJsonValue& photo : photos) {
        rows.append(QString::fromUtf8(QJsonDocument(photo.toObject()).toJson(QJsonDocument::Compact)));
    }
    rows.sort();
    return rows;
}

void copyPhoto(const QString& from, const QString& to)
{
    QFile::remove(to);
    ASSERT_TRUE(QFile::copy(from, to)) << to.toStdString();
}

} // namespace

// The index is a cache: whatever it answers, the list, its order and every score are a fresh scan's.
TEST(FaceIndexSearchTest, ARepeatSearchGivesExactlyAFreshOnesResultsForBothMatchers)
{
    SKIP_WITHOUT_PHOTOS();
    QTemporaryDir corpus;
    const QDir faces(testPhoto(QStringLiteral("faces")));
    const QStringList names = faces.entryList({QStringLiteral("*.jpg")}, QDir::Files);
    ASSERT_GE(names.size(), 6);
    for (const QString& name : names) {
        copyPhoto(faces.filePath(name), corpus.filePath(name));
    }
    copyPhoto(testPhoto(QStringLiteral("astronaut.png")), corpus.filePath(QStringLiteral("astronaut.png")));
    const int photoCount = int(names.size()) + 1;

    for (const QString& matcher : {QStringLiteral("grid"), QStringLiteral("features")}) {
        SCOPED_TRACE(matcher.toStdString());
        const Search fresh = search(corpus.path(), matcher, false);
        ASSERT_FALSE(fresh.photos.isEmpty());
        EXPECT_EQ(fresh.fromIndex, 0);
        // A grid search stores no features: the first features search scans again and stores them.
        const Search first = search(corpus.path(), matcher);
        EXPECT_EQ(first.fromIndex, 0);
        const Search repeat = search(corpus.path(), matcher);
        EXPECT_EQ(repeat.fromIndex, photoCount);
        for (const Search* again : {&first, &repeat}) {
            EXPECT_EQ(rows(again->photos), rows(fresh.photos));
            EXPECT_EQ(scoresInOrder(again->photos), scoresInOrder(fresh.photos));
        }
    }

    // Between searches one photo is edited in place, one replaced by another of the same bytes and
    // size (a new modification time), one renamed, one moved into a new folder, one copied with its
    // times kept and one deleted: only the edited and the replaced one are scanned again, the others
    // are answered by their content, and the results stay a fresh scan's.
    const auto write = [](const QString& path, const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Append));
        file.write(bytes);
    };
    write(corpus.filePath(names[0]), QByteArray(1, '\0'));
    const QString replaced = corpus.filePath(names[1]);
    QFile original(replaced);
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    const QByteArray bytes = original.readAll();
    original.close();
    QFile::remove(replaced);
    write(replaced, bytes);
    ASSERT_TRUE(QFile::rename(corpus.filePath(names[2]), corpus.filePath(QStringLiteral("renamed.jpg"))));
    ASSERT_TRUE(QDir(corpus.path()).mkdir(QStringLiteral("moved")));
    ASSERT_TRUE(QFile::rename(corpus.filePath(names[3]), corpus.filePath(QStringLiteral("moved/") + names[3])));
    const QString copied = corpus.filePath(QStringLiteral("copied.jpg"));
    ASSERT_TRUE(QFile::copy(corpus.filePath(names[4]), copied));
    const std::int64_t modified = morvelin::FileStamp::of(corpus.filePath(names[4]))->modifiedNs;
    const timespec times[2] = {{0, UTIME_OMIT}, {modified / 1000000000, long(modified % 1000000000)}};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(copied).constData(), times, 0), 0);
    ASSERT_TRUE(QFile::remove(corpus.filePath(names[5])));

    const Search after = search(corpus.path(), QStringLiteral("features"));
    EXPECT_EQ(after.scanned, photoCount);
    EXPECT_EQ(after.fromIndex, photoCount - 2);
    EXPECT_EQ(rows(after.photos), rows(search(corpus.path(), QStringLiteral("features"), false).photos));

    // The entries of the deleted photo and of the old names went when their folder was searched again;
    // the moved photo is kept under its new name.
    const Outcome stats = runProgram({QStringLiteral("index"), QStringLiteral("--stats")});
    EXPECT_TRUE(stats.out.contains(QStringLiteral("photos\t%1\n").arg(photoCount))) << stats.out.toStdString();
    // ... and the photos of a folder no search will see again go with index --prune.
    ASSERT_TRUE(QDir(corpus.filePath(QStringLiteral("moved"))).removeRecursively());
    const Outcome pruned = runProgram({QStringLiteral("index"), QStringLiteral("--prune")});
    EXPECT_TRUE(pruned.out.startsWith(QStringLiteral("pruned\t1\nphotos\t%1\n").arg(photoCount - 1))) << pruned.out.toStdString();
}

// The index verb speaks of the index it cannot open, not of a search.
TEST(FaceIndexSearchTest, AnUnusableIndexIsReportedInTheVerbsOwnWords)
{
    QTemporaryDir area;
    QFile notAFolder(area.filePath(QStringLiteral("cache")));
    ASSERT_TRUE(notAFolder.open(QIODevice::WriteOnly));
    notAFolder.close();
    for (const char* option : {"--stats", "--clear"}) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CACHE_HOME"), notAFolder.fileName());
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(FACE_MORVELIN_BINARY), {QStringLiteral("index"), QLatin1String(option)});
        ASSERT_TRUE(process.waitForFinished(30000));
        const QString err = QString::fromUtf8(process.readAllStandardError());
        // Emptying an index that cannot exist has nothing to remove; counting it is an error.
        EXPECT_EQ(process.exitCode(), option == std::string_view("--clear") ? 0 : 2) << option;
        EXPECT_TRUE(err.contains(QStringLiteral("face index"))) << err.toStdString();
        EXPECT_FALSE(err.contains(QStringLiteral("searching"))) << err.toStdString();
    }
}

// A search killed mid-way leaves only whole entries, and two searches at once (the window and the
// command line) share the index without "database is locked": both give a fresh scan's results.
TEST(FaceIndexSearchTest, AnInterruptedSearchAndTwoAtOnceLeaveTheIndexRight)
{
    SKIP_WITHOUT_PHOTOS();
    QTemporaryDir corpus;
    const QDir faces(testPhoto(QStringLiteral("faces")));
    for (int copy = 0; copy < 6; ++copy) {
        for (const QString& name : faces.entryList({QStringLiteral("*.jpg")}, QDir::Files)) {
            copyPhoto(faces.filePath(name), corpus.filePath(QStringLiteral("%1_%2").arg(copy).arg(name)));
        }
    }
    const auto start = [&](QProcess& process) {
        process.start(QStringLiteral(FACE_MORVELIN_BINARY),
                      {QStringLiteral("search"), QStringLiteral("--face"), testPhoto(QStringLiteral("astronaut.png")),
                       QStringLiteral("--matcher"), QStringLiteral("grid"), QStringLiteral("--json"), corpus.path()});
        ASSERT_TRUE(process.waitForStarted());
    };
    QProcess killed;
    start(killed);
    QThread::msleep(2500);
    ::kill(static_cast<pid_t>(killed.processId()), SIGTERM);
    ASSERT_TRUE(killed.waitForFinished(60000));
    EXPECT_EQ(killed.exitCode(), 143);

    const QJsonArray freshList = search(corpus.path(), QStringLiteral("grid"), false).photos;
    const QStringList fresh = rows(freshList);
    QProcess first;
    QProcess second;
    start(first);
    start(second);
    for (QProcess* process : {&first, &second}) {
        ASSERT_TRUE(process->waitForFinished(120000));
        EXPECT_EQ(process->exitCode(), 0) << process->readAllStandardError().toStdString();
        const QJsonObject document = QJsonDocument::fromJson(process->readAllStandardOutput()).object();
        const QJsonArray photos = document.value(QStringLiteral("photos")).toArray();
        EXPECT_EQ(rows(photos), fresh);
        EXPECT_EQ(scoresInOrder(photos), scoresInOrder(freshList));
    }
    EXPECT_EQ(rows(search(corpus.path(), QStringLiteral("grid")).photos), fresh);
}
