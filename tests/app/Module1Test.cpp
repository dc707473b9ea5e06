#include "app/Module1.h"

#include "app/WinMain.h"
#include "app/WinWelcome.h"

#include "UserFolders.h"
#include "WaitUntil.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <optional>

using namespace morvelin;

namespace {

QString socketPath() { return qEnvironmentVariable("XDG_RUNTIME_DIR") + QStringLiteral("/face-morvelin.socket"); }

// The screen was taken and the detector has answered (or is at it).
bool hasCaptured(WinMain& window)
{
    const QString caption = window.findChild<QLabel*>(QStringLiteral("WinCaption"))->text();
    return caption == QLatin1String("No faces found") || caption == QLatin1String("Choose the face to search...")
        || caption == QLatin1String("Looking for human faces...");
}

// The real program, as the desktop starts it, in this test's user folders.
class Program {
public:
    explicit Program(const QStringList& arguments) { process.start(QStringLiteral(FACE_MORVELIN_BINARY), arguments); }
    ~Program()
    {
        process.kill();
        process.waitForFinished();
    }
    QProcess process;
};

class Module1Test : public testing::Test {
protected:
    // A settings store of its own for each start; nullopt: nothing stored.
    void storeShowTip(const std::optional<QByteArray>& text)
    {
        m_stores.emplace_back(std::make_unique<QTemporaryDir>());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_stores.back()->path());
        QDir(m_stores.back()->path()).mkdir(QStringLiteral("Face Morvelin"));
        QFile file(m_stores.back()->path() + QStringLiteral("/Face Morvelin/Face Morvelin.conf"));
        if (text) {
            ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("[Welcome]\nShowTip=" + *text + "\n") > 0);
        }
    }
    void SetUp() override { storeShowTip(std::nullopt); }

    std::vector<std::unique_ptr<QTemporaryDir>> m_stores;
};

} // namespace

// This desktop (offscreen) has no tray: the main window must be reachable without one.
TEST_F(Module1Test, TheStoredShowTipDecidesTheWelcomeWindowWhoseClosingShowsTheMainWindow)
{
    for (const auto& [stored, welcome] : {std::pair{std::optional<QByteArray>(), true}, {QByteArray("1"), true},
                                          {QByteArray("0"), false}, {QByteArray("01"), false}, {QByteArray(""), false}}) {
        SCOPED_TRACE(stored ? stored->constData() : "nothing stored");
        storeShowTip(stored);
        Module1 start;
        ASSERT_EQ(start.Main(), Module1::Start::Running);
        EXPECT_EQ(start.welcomeWindow() != nullptr && start.welcomeWindow()->isVisible(), welcome);
        EXPECT_EQ(start.mainWindow()->isVisible(), !welcome);
    }
    storeShowTip(std::nullopt);
    Module1 start;
    ASSERT_EQ(start.Main(), Module1::Start::Running);
    ASSERT_NE(start.welcomeWindow(), nullptr);
    start.welcomeWindow()->close();
    EXPECT_TRUE(start.mainWindow()->isVisible());
    EXPECT_TRUE(waitUntil([&start] { return start.welcomeWindow() == nullptr; }));
    EXPECT_TRUE(start.mainWindow()->QueryUnload(true)) << "no tray to hide into: the close box closes";
}

TEST_F(Module1Test, ASecondStartShowsTheMessageAndLoadsNothing)
{
    Program first({});
    ASSERT_TRUE(waitUntil([] { return QFileInfo::exists(socketPath()); }));

    QString seen;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            seen = box->windowTitle() + '|' + box->text() + '|' + QString::number(box->icon());
            box->button(QMessageBox::Ok)->click();
        }
    });
    answer.start(20);
    Module1 second;
    EXPECT_EQ(second.Main(), Module1::Start::Refused);
    answer.stop();
    EXPECT_EQ(seen, QStringLiteral("Face Morvelin|Application already running...\nPress F12 or click on the system tray icon|%1")
                        .arg(QMessageBox::Information));
    EXPECT_EQ(second.mainWindow(), nullptr);
    EXPECT_EQ(second.welcomeWindow(), nullptr);
    for (const QWidget* window : QApplication::topLevelWidgets()) {
        EXPECT_FALSE(window->isVisible()) << window->metaObject()->className();
    }

    Module1 capture;
    EXPECT_EQ(capture.Main(true), Module1::Start::CaptureSent);
    EXPECT_EQ(capture.mainWindow(), nullptr);
}

TEST_F(Module1Test, ACaptureRequestFromAnotherProcessReachesTheMainWindow)
{
    storeShowTip("0");
    Module1 start;
    ASSERT_EQ(start.Main(), Module1::Start::Running);
    ASSERT_FALSE(hasCaptured(*start.mainWindow()));
    Program request({QStringLiteral("--capture")});
    ASSERT_TRUE(waitUntil([&request] { return request.process.state() == QProcess::NotRunning; }));
    EXPECT_EQ(request.process.exitCode(), 0) << request.process.readAllStandardError().toStdString();
    EXPECT_TRUE(waitUntil([&start] { return hasCaptured(*start.mainWindow()); }));
}

TEST_F(Module1Test, StartedToCaptureItCapturesAtOnceWithoutTheWelcomeWindow)
{
    Module1 start;
    ASSERT_EQ(start.Main(true), Module1::Start::Running);
    EXPECT_EQ(start.welcomeWindow(), nullptr);
    EXPECT_TRUE(waitUntil([&start] { return hasCaptured(*start.mainWindow()); }));
}

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // The program started from here shares these folders with the test.
    const UserFolders user;
    qputenv("LC_ALL", "C");
    qputenv("LANGUAGE", "");
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
