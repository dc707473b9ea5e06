#include "ProgramRunner.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

using namespace morvelin::testing;

namespace {

// A folder of real photos: dlib's examples, with the astronaut one folder down.
void fillCorpus(const QTemporaryDir& corpus)
{
    const QDir faces(testPhoto(QStringLiteral("faces")));
    for (const QString& name : faces.entryList({QStringLiteral("*.jpg")}, QDir::Files)) {
        QFile::copy(faces.filePath(name), corpus.filePath(name));
    }
    QDir(corpus.path()).mkdir(QStringLiteral("nasa"));
    QFile::copy(testPhoto(QStringLiteral("astronaut.png")), corpus.filePath(QStringLiteral("nasa/astronaut.png")));
}

} // namespace

TEST(SearchCommandTest, TheFacesOwnPhotoRanksFirst)
{
    SKIP_WITHOUT_PHOTOS();
    QTemporaryDir corpus;
    QTemporaryDir temp;
    fillCorpus(corpus);
    const QString astronaut = testPhoto(QStringLiteral("astronaut.png"));

    const Outcome flat = runProgram({QStringLiteral("search"), QStringLiteral("--face"), astronaut, corpus.path()});
    ASSERT_EQ(flat.exitCode, 0) << flat.err.toStdString();
    EXPECT_FALSE(flat.out.contains(QStringLiteral("astronaut"))) << "without --recursive sub-folders are not searched";

    const Outcome deep = runProgram(
        {QStringLiteral("search"), QStringLiteral("--face"), astronaut, QStringLiteral("--recursive"), corpus.path()},
        temp.path());
    ASSERT_EQ(deep.exitCode, 0) << deep.err.toStdString();
    const QStringList lines = deep.out.trimmed().split(QLatin1Char('\n'));
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_TRUE(lines.first().endsWith(QStringLiteral("/nasa/astronaut.png"))) << deep.out.toStdString();
    int previous = 100001;
    for (const QString& line : lines) {
        const int xscore = line.section(QLatin1Char('\t'), 0, 0).toInt();
        EXPECT_GE(xscore, 70000);
        EXPECT_LE(xscore, previous) << "best first";
        previous = xscore;
    }
    EXPECT_TRUE(deep.err.contains(QStringLiteral("scanned"))) << "a summary ends the search";
    EXPECT_TRUE(QDir(temp.path()).isEmpty()) << "no temporary file is left behind";

    const Outcome json = runProgram(
        {QStringLiteral("search"), QStringLiteral("--face"), astronaut, QStringLiteral("--recursive"), QStringLiteral("--json"), corpus.path()});
    const QJsonArray photos = QJsonDocument::fromJson(json.out.toUtf8()).object().value(QStringLiteral("photos")).toArray();
    ASSERT_EQ(photos.size(), lines.size());
    const QJsonObject best = photos.first().toObject();
    EXPECT_TRUE(best.value(QStringLiteral("path")).toString().endsWith(QStringLiteral("astronaut.png")));
    EXPECT_FALSE(best.value(QStringLiteral("faces")).toArray().isEmpty());
}

TEST(SearchCommandTest, BadSourcesAndFoldersEndWithAMessage)
{
    SKIP_WITHOUT_PHOTOS();
    QTemporaryDir dir;
    const QString astronaut = testPhoto(QStringLiteral("astronaut.png"));

    // %1 the face's photo, %2 the folder.
    const auto search = [&](const char* arguments) {
        return runProgram(
            QString::fromLatin1(arguments).replace("%1", astronaut).replace("%2", dir.path()).split(QLatin1Char(' ')));
    };
    const Outcome pickTooFar = search("search --face %1 --pick 2 %2");
    EXPECT_EQ(pickTooFar.exitCode, 1) << pickTooFar.err.toStdString();
    const Outcome noFolder = search("search --face %1 %2/absent");
    EXPECT_EQ(noFolder.exitCode, 2);
    EXPECT_TRUE(noFolder.err.contains(QStringLiteral("absent")));
    EXPECT_EQ(search("search %2").exitCode, 2) << "no face";
    EXPECT_EQ(search("search --face %1 --pick zero %2").exitCode, 2);
}

TEST(SearchCommandTest, TheFeaturesMatcherNamesItselfAndABrokenModelStopsOnlyIt)
{
    SKIP_WITHOUT_PHOTOS();
    QTemporaryDir corpus;
    fillCorpus(corpus);
    const QString astronaut = testPhoto(QStringLiteral("astronaut.png"));
    const Outcome json = runProgram({QStringLiteral("search"), QStringLiteral("--face"), astronaut, QStringLiteral("--recursive"),
                                     QStringLiteral("--matcher"), QStringLiteral("features"), QStringLiteral("--json"), corpus.path()});
    ASSERT_EQ(json.exitCode, 0) << json.err.toStdString();
    const QJsonObject document = QJsonDocument::fromJson(json.out.toUtf8()).object();
    EXPECT_EQ(document.value(QStringLiteral("matcher")).toString(), QStringLiteral("features"));
    const QJsonArray photos = document.value(QStringLiteral("photos")).toArray();
    ASSERT_EQ(photos.size(), 1) << "only her own photo: " << json.out.toStdString();
    const QJsonObject face = photos.first().toObject().value(QStringLiteral("faces")).toArray().first().toObject();
    EXPECT_GT(face.value(QStringLiteral("similarity")).toDouble(), 0.9);

    // A copy of the program whose facial-features model lost its end.
    QTemporaryDir program;
    QFile::copy(QStringLiteral(FACE_MORVELIN_BINARY), program.filePath(QStringLiteral("face-morvelin")));
    const QDir data(QStringLiteral(MORVELIN_DETECTOR_DATA).section(QLatin1Char('/'), 0, -2));
    for (const QString& name : data.entryList({QStringLiteral("*.xml"), QStringLiteral("*.onnx")})) {
        QFile::copy(data.filePath(name), program.filePath(name));
    }
    const QString model = program.filePath(QStringLiteral("fr_feature.onnx"));
    QFile::resize(model, 1000);
    const auto run = [&](const char* matcher) {
        QProcess process;
        process.start(program.filePath(QStringLiteral("face-morvelin")),
                      {QStringLiteral("search"), QStringLiteral("--face"), astronaut, QStringLiteral("--matcher"),
                       QString::fromLatin1(matcher), corpus.path()});
        process.waitForFinished(120000);
        return Outcome{process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                       QString::fromUtf8(process.readAllStandardError())};
    };
    const Outcome broken = run("features");
    EXPECT_EQ(broken.exitCode, 2);
    EXPECT_EQ(broken.err.count(QLatin1Char('\n')), 1) << broken.err.toStdString();
    EXPECT_TRUE(broken.err.contains(model)) << broken.err.toStdString();
    EXPECT_EQ(run("grid").exitCode, 0);
}

TEST(SearchCommandTest, CtrlCFinishesThePhotosInHandAndCleansUp)
{
    SKIP_WITHOUT_PHOTOS();
    QTemporaryDir corpus;
    QTemporaryDir temp;
    // Enough photos that the search is still running when the interrupt comes.
    const QDir faces(testPhoto(QStringLiteral("faces")));
    for (int copy = 0; copy < 20; ++copy) {
        for (const QString& name : faces.entryList({QStringLiteral("*.jpg")}, QDir::Files)) {
            QFile::copy(faces.filePath(name), corpus.filePath(QStringLiteral("%1_%2").arg(copy).arg(name)));
        }
    }
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TMPDIR"), temp.path());
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(FACE_MORVELIN_BINARY),
                  {QStringLiteral("search"), QStringLiteral("--face"), testPhoto(QStringLiteral("astronaut.png")), corpus.path()});
    ASSERT_TRUE(process.waitForStarted());
    QThread::msleep(1500);
    ::kill(static_cast<pid_t>(process.processId()), SIGINT);
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 130) << "a search cut short says so";
    const QString err = QString::fromUtf8(process.readAllStandardError());
    EXPECT_TRUE(err.contains(QStringLiteral("Stopping"))) << err.toStdString();
    EXPECT_TRUE(QDir(temp.path()).isEmpty()) << "temporary files are removed on Ctrl-C too";
}
