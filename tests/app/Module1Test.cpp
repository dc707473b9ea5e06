// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "app/Module1.h"

#include "app/Helpers.h"
#include "app/WinMain.h"
#include "app/WinWelcome.h"
#include "platform/SingleInstance.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include "UserFolders.h"
#include "WaitUntil.h"

#include <csignal>
#include <functional>
#include <optional>

using namespace morvelin;

namespace {

constexpr int waitMs = 20000;

QString runtimeFolder() { return qEnvironmentVariable("XDG_RUNTIME_DIR"); }
QString socketPath() { return runtimeFolder() + QStringLiteral("/face-morvelin.socket"); }
QString captionOf(WinMain& window) { return window.findChild<QLabel*>(QStringLiteral("WinCaption"))->text(); }

// The screen was taken and the detector has answered (or is at it).
bool hasCaptured(WinMain& window)
{
    const QString caption = captionOf(window);
    return caption == QLatin1String("No faces found") || caption == QLatin1String("Choose the face to search...")
        || caption == QLatin1String("Looking for human faces...");
}

// The real program, as the desktop starts it: same user folders as this test, its own temporary
// folder so a test can see what it leaves behind.
class Program {
public:
    explicit Program(const QStringList& arguments, const QString& tempFolder = QString())
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        if (!tempFolder.isEmpty()) {
            environment.insert(QStringLiteral("TMPDIR"), tempFolder);
        }
        m_process.setProcessEnvironment(environment);
        m_process.start(QStringLiteral(FACE_MORVELIN_BINARY), arguments);
    }
    ~Program()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(waitMs);
        }
    }
    bool waitUntilRunning() { return waitUntil([] { return QFileInfo::exists(socketPath()); }); }
    bool waitForEnd() { return waitUntil([this] { return m_process.state() == QProcess::NotRunning; }); }
    QProcess& process() { return m_process; }

private:
    QProcess m_process;
};

class Module1Test : public testing::Test {
protected:
    void SetUp() override { useFreshStore(); }

    void useFreshStore()
    {
        m_stores.emplace_back(std::make_unique<QTemporaryDir>());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_stores.back()->path());
    }

    // nullopt: nothing stored.
    void storeShowTip(const std::optional<QByteArray>& text)
    {
        useFreshStore();
        if (!text) {
            return;
        }
        const QString folder = m_stores.back()->path() + QStringLiteral("/Face Morvelin");
        QDir().mkpath(folder);
        QFile file(folder + QStringLiteral("/Face Morvelin.conf"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[Welcome]\nShowTip=" + *text + "\n");
    }

    std::vector<std::unique_ptr<QTemporaryDir>> m_stores;
};

} // namespace

// This desktop (offscreen) has no tray: the main window must be reachable without one.
TEST_F(Module1Test, TheStoredShowTipDecidesTheWelcomeWindow)
{
    struct Case {
        std::optional<QByteArray> stored;
        bool welcome;
    };
    for (const Case& each : {Case{std::nullopt, true}, Case{"1", true}, Case{"0", false}, Case{"01", false},
                             Case{"", false}}) {
        const QString name = each.stored ? QStringLiteral("\"%1\"").arg(QString::fromLatin1(*each.stored))
                                         : QStringLiteral("nothing stored");
        storeShowTip(each.stored);
        Module1 start;
        ASSERT_EQ(start.Main(), Module1::Start::Running) << name.toStdString();
        ASSERT_NE(start.mainWindow(), nullptr);
        EXPECT_EQ(start.welcomeWindow() != nullptr && start.welcomeWindow()->isVisible(), each.welcome) << name.toStdString();
        EXPECT_EQ(start.mainWindow()->isVisible(), !each.welcome) << name.toStdString();
    }
}

TEST_F(Module1Test, WithoutATrayClosingTheWelcomeWindowShowsTheMainWindowWhoseCloseBoxEnds)
{
    Module1 start;
    ASSERT_EQ(start.Main(), Module1::Start::Running);
    ASSERT_NE(start.welcomeWindow(), nullptr);
    EXPECT_FALSE(start.mainWindow()->isVisible());
    start.welcomeWindow()->close();
    EXPECT_TRUE(start.mainWindow()->isVisible());
    EXPECT_TRUE(waitUntil([&start] { return start.welcomeWindow() == nullptr; }));
    // The close box may close the window: no tray to hide into.
    EXPECT_TRUE(start.mainWindow()->QueryUnload(true));
}

TEST_F(Module1Test, ASecondStartShowsTheMessageAndLoadsNothing)
{
    Program first({});
    ASSERT_TRUE(first.waitUntilRunning());

    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        box->button(QMessageBox::Ok)->click();
    });
    answer.start(20);
    Module1 second;
    EXPECT_EQ(second.Main(), Module1::Start::Refused);
    answer.stop();

    EXPECT_EQ(title, QStringLiteral("Face Morvelin"));
    EXPECT_EQ(text, QStringLiteral("Application already running...\nPress F12 or click on the system tray icon"));
    EXPECT_EQ(icon, QMessageBox::Information);
    EXPECT_EQ(second.mainWindow(), nullptr);
    EXPECT_EQ(second.welcomeWindow(), nullptr);
    for (const QWidget* window : QApplication::topLevelWidgets()) {
        EXPECT_FALSE(window->isVisible()) << window->metaObject()->className();
    }

    Module1 capture;
    EXPECT_EQ(capture.Main(true), Module1::Start::RequestSent);
    EXPECT_EQ(capture.mainWindow(), nullptr);
}

TEST_F(Module1Test, CaptureAndPhotoRequestsFromAnotherProcessReachTheMainWindow)
{
    storeShowTip("0");
    Module1 start;
    ASSERT_EQ(start.Main(), Module1::Start::Running);
    WinMain& window = *start.mainWindow();
    ASSERT_EQ(captionOf(window), QStringLiteral("Face Morvelin"));
    window.setDataPath(QStringLiteral(MORVELIN_DETECTOR_DATA));

    Program request({QStringLiteral("--capture")});
    ASSERT_TRUE(request.waitForEnd());
    EXPECT_EQ(request.process().exitCode(), 0) << request.process().readAllStandardError().toStdString();
    EXPECT_TRUE(waitUntil([&window] { return hasCaptured(window); }));
    // The offscreen screen shows no face.
    ASSERT_TRUE(waitUntil([&window] { return captionOf(window) == QLatin1String("No faces found"); }));

    Program missing({QStringLiteral("--face"), QStringLiteral("/nowhere/photo.jpg")});
    ASSERT_TRUE(missing.waitForEnd());
    EXPECT_EQ(missing.process().exitCode(), 2);
    EXPECT_EQ(missing.process().readAllStandardError(), "face-morvelin: cannot read '/nowhere/photo.jpg': no such file\n");

    // As a desktop's "Open with" hands the photo over: its faces in the gallery, as a chosen photo's.
    const QString photo = QStringLiteral(MORVELIN_TEST_PHOTOS "/astronaut.png");
    if (!QFileInfo::exists(photo)) {
        GTEST_SKIP() << "the test photos are not set up";
    }
    Program opened({photo});
    ASSERT_TRUE(opened.waitForEnd());
    EXPECT_EQ(opened.process().exitCode(), 0) << opened.process().readAllStandardError().toStdString();
    EXPECT_TRUE(waitUntil([&window] { return window.FacesFound() == 1; }));
    EXPECT_TRUE(window.isVisible());
}

TEST_F(Module1Test, StartedToCaptureItCapturesAtOnceWithoutTheWelcomeWindow)
{
    Module1 start;
    ASSERT_EQ(start.Main(true), Module1::Start::Running);
    EXPECT_EQ(start.welcomeWindow(), nullptr);
    EXPECT_TRUE(waitUntil([&start] { return hasCaptured(*start.mainWindow()); }));
}

TEST_F(Module1Test, ExitEndsTheProgramWithoutTheWelcomeWindowsCloseHandler)
{
    Module1 start;
    ASSERT_EQ(start.Main(), Module1::Start::Running);
    QPointer<WinWelcome> welcome = start.welcomeWindow();
    ASSERT_FALSE(welcome.isNull());
    bool welcomeClosed = false;
    QObject::connect(welcome, &WinWelcome::closed, [&welcomeClosed] { welcomeClosed = true; });

    QTimer::singleShot(0, [] { ExitProgram(); });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_FALSE(welcomeClosed);
    EXPECT_FALSE(start.mainWindow()->isVisible());
}

TEST(Module1ProgramTest, SignalsEndTheProgramCleanly)
{
    for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        QTemporaryDir temp;
        Program program({}, temp.path());
        ASSERT_TRUE(program.waitUntilRunning()) << signalNumber;
        ASSERT_TRUE(waitUntil([&temp] { return !QDir(temp.path()).isEmpty(); })) << "no temporary folder made";

        ::kill(pid_t(program.process().processId()), signalNumber);
        ASSERT_TRUE(program.waitForEnd()) << signalNumber;
        EXPECT_EQ(program.process().exitStatus(), QProcess::NormalExit) << signalNumber;
        EXPECT_EQ(program.process().exitCode(), 0) << signalNumber;
        EXPECT_TRUE(QDir(temp.path()).isEmpty()) << signalNumber << ": temporary files left";
        EXPECT_FALSE(QFileInfo::exists(socketPath())) << signalNumber;
        SingleInstance next(runtimeFolder());
        EXPECT_TRUE(next.claim()) << signalNumber;
    }
}
