// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "app/Helpers.h"
#include "TestChild.h"

#include "UserFolders.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

using namespace morvelin;

namespace {

// Set in a copy of this test program that plays a short-lived program using the temporary folder.
const char* const childVariable = "MORVELIN_HELPERS_CHILD";

class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls.append(url); }
};

const QFile::Permissions ownerOnly = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadUser
    | QFile::WriteUser | QFile::ExeUser;

// Runs this program again as a child that uses TempFolder with its temporary files under tmpDir,
// and returns what the child printed: the folder it was given.
QString runChild(const QString& scenario, const QString& tmpDir)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(childVariable), scenario);
    environment.insert(QStringLiteral("TMPDIR"), tmpDir);
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), {});
    child.waitForFinished(30000);
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(child.exitCode(), 0) << child.readAllStandardError().toStdString();
    return QString::fromLocal8Bit(child.readAllStandardOutput()).trimmed();
}

int runChildScenario(const QString& scenario, int argc, char* argv[])
{
    const auto useFolder = [] {
        const QString folder = TempFolder();
        QFile photo(folder + QStringLiteral("QXT123.jpg"));
        if (folder.isEmpty() || !photo.open(QIODevice::WriteOnly)) {
            return false;
        }
        std::printf("%s\n", qPrintable(folder));
        std::fflush(stdout);
        return true;
    };
    if (scenario == "no-application") {
        return useFolder() ? 0 : 1;
    }
    QApplication application(argc, argv);
    if (!useFolder()) {
        return 1;
    }
    if (scenario == "exit") {
        std::exit(0);
    }
    return 0;
}

const TestChild helpersChild(childVariable, runChildScenario);

} // namespace

TEST(HelpersTest, FoldersEndWithExactlyOneSeparatorAndPathsSplitAtTheLastOne)
{
    for (const char* folder : {"/home/anna/Photos", "/home/anna/Photos/", "/home/anna/Photos//"}) {
        EXPECT_EQ(FolderWithSeparator(QString::fromLatin1(folder)), QStringLiteral("/home/anna/Photos/")) << folder;
    }
    EXPECT_EQ(FolderWithSeparator(QStringLiteral("/")), QStringLiteral("/"));
    EXPECT_EQ(FolderWithSeparator(QString()), QString());
    EXPECT_EQ(AppFolder(), QFileInfo(QCoreApplication::applicationFilePath()).absolutePath() + QLatin1Char('/'));

    const char* const cases[][3] = {
        {"/media/photos/a.jpg", "/media/photos/", "a.jpg"}, {"a.jpg", "", "a.jpg"}, {"/a.jpg", "/", "a.jpg"},
        {"/media/photos/", "/media/photos/", ""}, {"/media/2010.d/holiday", "/media/2010.d/", "holiday"},
        {"C:\\Photos\\a.jpg", "", "C:\\Photos\\a.jpg"}, {"", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FolderOfPath(QString::fromLatin1(c[0])), QString::fromLatin1(c[1])) << c[0];
        EXPECT_EQ(NameOfPath(QString::fromLatin1(c[0])), QString::fromLatin1(c[2])) << c[0];
    }
}

TEST(HelpersTest, TempFolderIsPrivateAndSurvivesACleanUp)
{
    const QString folder = TempFolder();
    ASSERT_TRUE(QFileInfo(folder).isDir());
    EXPECT_FALSE(folder.endsWith(QStringLiteral("//")));
    EXPECT_EQ(FolderOfPath(folder.chopped(1)), QDir::tempPath() + QLatin1Char('/'));
    EXPECT_EQ(QFileInfo(folder).permissions(), ownerOnly);
    EXPECT_EQ(TempFolder(), folder) << "one folder for the whole run";

    // The system's clean-up of /tmp removes it, and someone re-creates the name open to everybody.
    ASSERT_TRUE(QDir(folder).removeRecursively());
    ASSERT_TRUE(QDir().mkdir(folder));
    ASSERT_TRUE(QFile::setPermissions(folder, ownerOnly | QFile::ReadOther | QFile::WriteOther | QFile::ExeOther));
    const QString again = TempFolder();
    EXPECT_NE(again, folder);
    EXPECT_TRUE(QFileInfo(again).isDir());
    EXPECT_EQ(QFileInfo(again).permissions(), ownerOnly);
    EXPECT_TRUE(QFileInfo::exists(folder)) << "a folder that is not ours is left alone";
    QDir(folder).removeRecursively();
}

TEST(HelpersTest, TempFolderIsRemovedWhenTheProgramEnds)
{
    for (const QString& scenario : {QStringLiteral("return"), QStringLiteral("exit"), QStringLiteral("no-application")}) {
        QTemporaryDir area;
        const QString used = runChild(scenario, area.path());
        EXPECT_TRUE(used.startsWith(area.path() + QLatin1Char('/'))) << used.toStdString();
        EXPECT_FALSE(QFileInfo::exists(used)) << scenario.toStdString() << " left " << used.toStdString();
        // Qt itself may put its runtime folder there when XDG_RUNTIME_DIR is unset; that is not ours.
        EXPECT_TRUE(QDir(area.path()).entryList({QStringLiteral("face-morvelin-*")}, QDir::AllEntries).isEmpty());
    }
}

// A run killed with SIGKILL leaves its private folder; the next run of the same user removes it, and
// never one of a process still running.
TEST(HelpersTest, TempFoldersOfEndedRunsAreRemovedAndLiveOnesKept)
{
    QTemporaryDir area;
    QProcess ended;
    ended.start(QStringLiteral("/bin/sleep"), {QStringLiteral("0")});
    ASSERT_TRUE(ended.waitForStarted(10000));
    const qint64 endedPid = ended.processId();
    ASSERT_TRUE(ended.waitForFinished(10000));
    const auto folder = [&](qint64 pid) {
        const QString path = area.filePath(QStringLiteral("face-morvelin-%1-abcDEF").arg(pid));
        QDir().mkpath(path + QStringLiteral("/pixels"));
        QFile::setPermissions(path, ownerOnly);
        return path;
    };
    const QString dead = folder(endedPid);
    const QString alive = folder(QCoreApplication::applicationPid());
    const QString init = folder(1); // another user's process, as far as kill() can tell
    const QString foreign = area.filePath(QStringLiteral("face-morvelin-walk-abcDEF"));
    QDir().mkpath(foreign);

    runChild(QStringLiteral("return"), area.path());
    EXPECT_FALSE(QFileInfo::exists(dead));
    EXPECT_TRUE(QFileInfo::exists(alive));
    EXPECT_TRUE(QFileInfo::exists(init));
    EXPECT_TRUE(QFileInfo::exists(foreign)) << "a name of another kind is not the program's";
}

TEST(HelpersTest, ShellGetsFilesAsFilesAndAddressesAsTheyAre)
{
    UrlRecorder recorder;
    for (const char* scheme : {"file", "http", "https"}) {
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &recorder, "open");
    }
    const QString photo = QStringLiteral("/home/anna/Fotos 2010/#1 100%.jpg");
    OpenWithShell(photo);
    OpenWithShell(QStringLiteral("https://example.org/face-morvelin?lang=de"));
    OpenWithShell(QString());
    EXPECT_EQ(recorder.urls, (QList<QUrl>{QUrl::fromLocalFile(photo), QUrl(QStringLiteral("https://example.org/face-morvelin?lang=de"))}));
}

TEST(HelpersTest, DesktopCaptureShowsWhatIsOnScreen)
{
    QWidget window(nullptr, Qt::FramelessWindowHint);
    window.setStyleSheet(QStringLiteral("background: rgb(200, 30, 40)"));
    window.setGeometry(60, 50, 120, 90);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::qWait(100);

    const QImage desktop = DesktopCapture();
    if (desktop.isNull()) {
        GTEST_SKIP() << "this display does not let programs read the screen";
    }
    const QScreen* screen = QGuiApplication::primaryScreen();
    const qreal ratio = screen->devicePixelRatio();
    EXPECT_EQ(desktop.size(), screen->virtualGeometry().size() * ratio);
    const QPoint inside = (window.geometry().center() - screen->virtualGeometry().topLeft()) * ratio;
    EXPECT_EQ(desktop.pixelColor(inside), QColor(200, 30, 40));
}

#include "HelpersTest.moc"
