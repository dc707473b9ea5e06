// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "app/Module1.h"

#include "app/Helpers.h"
#include "app/WinMain.h"
#include "app/WinWelcome.h"
#include "platform/SingleInstance.h"

#include "UserFolders.h"
#include "WaitUntil.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>

using namespace morvelin;

namespace {

// Run under Xvfb (ctest does): this program starts Debian's trayer as the desktop's tray.
constexpr int waitMs = 10000;
bool trayHost = false;

class Module1TrayTest : public testing::Test {
protected:
    void SetUp() override
    {
        if (!trayHost) {
            GTEST_SKIP() << "no tray host: run under xvfb-run with trayer installed";
        }
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_store.path());
    }

    void storeShowTipZero() const
    {
        QDir().mkpath(m_store.path() + QStringLiteral("/Face Morvelin"));
        QFile file(m_store.path() + QStringLiteral("/Face Morvelin/Face Morvelin.conf"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[Welcome]\nShowTip=0\n");
    }

    QTemporaryDir m_store;
};

} // namespace

TEST_F(Module1TrayTest, StartsAsATrayIconWhoseWindowTheCloseBoxOnlyHides)
{
    storeShowTipZero();
    Module1 start;
    ASSERT_EQ(start.Main(), Module1::Start::Running);
    WinMain& window = *start.mainWindow();
    EXPECT_EQ(start.welcomeWindow(), nullptr);
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(window.tray().isShown());
    EXPECT_EQ(window.tray().toolTip(), QStringLiteral("Face Morvelin"));

    window.showFromWelcome();
    EXPECT_FALSE(window.QueryUnload(true));
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(window.tray().isShown());

    // "Start at login" ticks and unticks with the autostart entry it writes and removes.
    auto* startAtLogin = window.findChild<QAction*>(QStringLiteral("StartAtLogin"));
    ASSERT_NE(startAtLogin, nullptr);
    const QString entry = qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/autostart/face-morvelin.desktop");
    for (const bool ticked : {true, false}) {
        startAtLogin->trigger();
        EXPECT_EQ(startAtLogin->isChecked(), ticked);
        EXPECT_EQ(QFileInfo::exists(entry), ticked);
    }
}

TEST_F(Module1TrayTest, ExitAndSigtermTakeTheTrayIconDownWithoutTheWelcomeWindowsCloseHandler)
{
    for (const bool bySignal : {false, true}) {
        SCOPED_TRACE(bySignal ? "SIGTERM" : "Exit");
        Module1 start;
        ASSERT_EQ(start.Main(), Module1::Start::Running);
        QPointer<WinWelcome> welcome = start.welcomeWindow();
        ASSERT_FALSE(welcome.isNull());
        bool welcomeClosed = false;
        QObject::connect(welcome, &WinWelcome::closed, [&welcomeClosed] { welcomeClosed = true; });
        ASSERT_TRUE(start.mainWindow()->tray().isShown());
        QTimer::singleShot(50, [bySignal] { bySignal ? void(::raise(SIGTERM)) : ExitProgram(); });
        EXPECT_EQ(QApplication::exec(), 0);
        EXPECT_FALSE(start.mainWindow()->tray().isShown());
        EXPECT_FALSE(start.mainWindow()->isVisible());
        EXPECT_FALSE(welcomeClosed);
    }
}

// The real program, with the tray's own windows besides its own: the end must not trip over the
// tray icon's windows going away (which of them comes first varies from run to run), and leaves
// neither temporary files nor anything that blocks the next start.
TEST_F(Module1TrayTest, TheProgramInTheTrayEndsCleanlyOnTerminationSignals)
{
    storeShowTipZero();
    for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP, SIGTERM}) {
        QTemporaryDir temp;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("TMPDIR"), temp.path());
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_store.path());
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(FACE_MORVELIN_BINARY), {});
        // The temporary folder comes with the main window, and with it the tray icon.
        ASSERT_TRUE(waitUntil([&temp] { return !QDir(temp.path()).isEmpty(); }, waitMs)) << signalNumber;
        QThread::msleep(200);

        ::kill(pid_t(program.processId()), signalNumber);
        ASSERT_TRUE(program.waitForFinished(waitMs)) << signalNumber;
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << signalNumber << ": "
                                                              << program.readAllStandardError().toStdString();
        EXPECT_EQ(program.exitCode(), 0) << signalNumber;
        EXPECT_TRUE(QDir(temp.path()).isEmpty()) << signalNumber << ": temporary files left";
        EXPECT_FALSE(QFileInfo::exists(qEnvironmentVariable("XDG_RUNTIME_DIR") + "/face-morvelin.socket")) << signalNumber;
        EXPECT_TRUE(SingleInstance(qEnvironmentVariable("XDG_RUNTIME_DIR")).claim()) << signalNumber;
    }
}

int main(int argc, char* argv[])
{
    const UserFolders user;
    qputenv("LC_ALL", "C");
    // The X11 tray, not a desktop bus one this test cannot see.
    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    const bool display = !qEnvironmentVariableIsEmpty("DISPLAY");
    if (!display) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);

    QProcess trayer;
    const QString trayerProgram = QStandardPaths::findExecutable(QStringLiteral("trayer"));
    if (display && !trayerProgram.isEmpty()) {
        trayer.start(trayerProgram, QStringLiteral("--edge top --align right --widthtype request --height 24").split(' '));
        trayHost = trayer.waitForStarted() && waitUntil([] { return QSystemTrayIcon::isSystemTrayAvailable(); }, waitMs);
    }
    testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    trayer.terminate();
    trayer.waitForFinished();
    return result;
}
