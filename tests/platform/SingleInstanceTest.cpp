#include "platform/SingleInstance.h"

#include "WaitUntil.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>

using namespace morvelin;

namespace {

// Each instance is a real process: this test program started again with the role in this variable,
// "hold:FOLDER" (claim, report, answer captures until killed) or "send:FOLDER" (send one capture).
const char* const roleVariable = "MORVELIN_INSTANCE_ROLE";
constexpr int waitMs = 10000;

void say(const char* line)
{
    std::printf("%s\n", line);
    std::fflush(stdout);
}

int runRole(const QString& role, int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    const QString folder = role.section(QLatin1Char(':'), 1);
    SingleInstance instance(folder);
    if (role.startsWith(QLatin1String("send:"))) {
        say(instance.sendCapture() ? "sent" : "not sent");
        return 0;
    }
    if (!instance.claim()) {
        say("refused");
        return 0;
    }
    QObject::connect(&instance, &SingleInstance::captureRequested, [] { say("capture"); });
    say("running");
    return QCoreApplication::exec();
}

class Instance {
public:
    explicit Instance(const QString& role)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QString::fromLatin1(roleVariable), role);
        m_process.setProcessEnvironment(environment);
        m_process.start(QCoreApplication::applicationFilePath(), {});
    }
    ~Instance()
    {
        m_process.kill();
        m_process.waitForFinished(waitMs);
    }
    // Runs the event loop while waiting, so an instance in this process can answer.
    bool says(const char* line)
    {
        const auto seen = [&] { return m_output.split('\n').contains(QByteArray(line)); };
        waitUntil([&] {
            m_output += m_process.readAllStandardOutput();
            return seen() || m_process.state() == QProcess::NotRunning;
        }, waitMs);
        m_output += m_process.readAllStandardOutput();
        const bool said = seen();
        m_output.clear();
        return said;
    }
    void killHard() // SIGKILL: no chance to clean up
    {
        m_process.kill();
        m_process.waitForFinished(waitMs);
    }

private:
    QProcess m_process;
    QByteArray m_output;
};

class SingleInstanceTest : public testing::Test {
protected:
    QString folder() const { return m_folder.path(); }
    QString role(const char* what) const { return QLatin1String(what) + ':' + folder(); }

    QTemporaryDir m_folder;
};

} // namespace

TEST_F(SingleInstanceTest, ASecondProcessIsRefusedAndItsCaptureReachesTheFirst)
{
    Instance first(role("hold"));
    ASSERT_TRUE(first.says("running"));

    Instance second(role("hold"));
    EXPECT_TRUE(second.says("refused"));
    SingleInstance here(folder());
    EXPECT_FALSE(here.claim());
    EXPECT_FALSE(here.isRunningInstance());

    EXPECT_TRUE(here.sendCapture());
    EXPECT_TRUE(first.says("capture"));
}

TEST_F(SingleInstanceTest, AKilledInstanceLeavesNothingThatBlocksTheNextStart)
{
    {
        Instance crashed(role("hold"));
        ASSERT_TRUE(crashed.says("running"));
        crashed.killHard();
    }
    // Its lock file and socket file are still there; neither may count.
    EXPECT_TRUE(QFileInfo::exists(folder() + QStringLiteral("/face-morvelin.lock")));
    EXPECT_TRUE(QFileInfo::exists(folder() + QStringLiteral("/face-morvelin.socket")));

    SingleInstance next(folder());
    ASSERT_TRUE(next.claim());
    int captures = 0;
    QObject::connect(&next, &SingleInstance::captureRequested, [&captures] { ++captures; });
    Instance sender(role("send"));
    EXPECT_TRUE(sender.says("sent"));
    EXPECT_EQ(captures, 1);
}

TEST_F(SingleInstanceTest, ProgramsStartedByTheInstanceDoNotInheritTheLock)
{
    QProcess viewer;
    {
        SingleInstance instance(folder());
        ASSERT_TRUE(instance.claim());
        viewer.start(QStringLiteral("sleep"), {QStringLiteral("30")});
        ASSERT_TRUE(viewer.waitForStarted());
    }
    SingleInstance next(folder());
    EXPECT_TRUE(next.claim());
    viewer.kill();
    viewer.waitForFinished();
}

TEST_F(SingleInstanceTest, NoInstanceMeansNoCaptureAndAnUnusableFolderNoBlockedStart)
{
    SingleInstance nobody(folder());
    QDeadlineTimer deadline(2000);
    EXPECT_FALSE(nobody.sendCapture(300));
    EXPECT_FALSE(deadline.hasExpired());

    SingleInstance nowhere(folder() + QStringLiteral("/missing"));
    EXPECT_TRUE(nowhere.claim());
    EXPECT_FALSE(nowhere.sendCapture(300));
}

TEST_F(SingleInstanceTest, OnlyTheUserReachesTheSocketAndStrangeRequestsAreDropped)
{
    SingleInstance instance(folder());
    ASSERT_TRUE(instance.claim());
    const QFileInfo socketFile(folder() + QStringLiteral("/face-morvelin.socket"));
    const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther;
    EXPECT_EQ(socketFile.permissions() & others, QFile::Permissions());

    int captures = 0;
    QObject::connect(&instance, &SingleInstance::captureRequested, [&captures] { ++captures; });
    for (const QByteArray& request : {QByteArray("capture now\n"), QByteArray("exit\n"), QByteArray(200, 'x')}) {
        QLocalSocket client;
        client.connectToServer(socketFile.filePath());
        ASSERT_TRUE(client.waitForConnected(waitMs));
        client.write(request);
        client.flush();
        const QDeadlineTimer deadline(waitMs);
        while (client.state() == QLocalSocket::ConnectedState && !deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            client.waitForDisconnected(20);
        }
        EXPECT_EQ(client.state(), QLocalSocket::UnconnectedState) << request.left(20).constData();
        EXPECT_EQ(client.readAll(), QByteArray()) << request.left(20).constData();
    }
    EXPECT_EQ(captures, 0);
}

int main(int argc, char* argv[])
{
    const QString role = qEnvironmentVariable(roleVariable);
    if (!role.isEmpty()) {
        return runRole(role, argc, argv);
    }
    QCoreApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
