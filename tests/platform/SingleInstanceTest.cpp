// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "platform/SingleInstance.h"
#include "TestChild.h"

#include "WaitUntil.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

#include <cstdio>
#include <unistd.h>

using namespace morvelin;

namespace {

// Each instance is a real process: this test program started again with the role in this variable,
// "hold:FOLDER" (claim, report, answer captures until killed) or "send:FOLDER" (send one capture).
const char* const roleVariable = "MORVELIN_INSTANCE_ROLE";
constexpr int waitMs = 10000;

int runRole(const QString& role, int argc, char* argv[])
{
    const auto say = [](const char* line) {
        std::printf("%s\n", line);
        std::fflush(stdout);
    };
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
    QObject::connect(&instance, &SingleInstance::captureRequested, [say] { say("capture"); });
    say("running");
    return QCoreApplication::exec();
}

const TestChild instanceRole(roleVariable, runRole);

class Instance {
public:
    explicit Instance(const QString& role)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QString::fromLatin1(roleVariable), role);
        m_process.setProcessEnvironment(environment);
        m_process.start(QCoreApplication::applicationFilePath(), {});
    }
    ~Instance() // SIGKILL: no chance to clean up
    {
        m_process.kill();
        m_process.waitForFinished(waitMs);
    }
    // Runs the event loop while waiting, so an instance in this process can answer.
    bool says(const char* line)
    {
        const auto seen = [&] {
            m_output += m_process.readAllStandardOutput();
            return m_output.split('\n').contains(QByteArray(line));
        };
        waitUntil([&] { return seen() || m_process.state() == QProcess::NotRunning; }, waitMs);
        const bool said = seen();
        m_output.clear();
        return said;
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
    int m_captures = 0;
};

} // namespace

TEST_F(SingleInstanceTest, ASecondProcessIsRefusedAndItsCaptureReachesTheFirstIfThereIsOne)
{
    SingleInstance here(folder());
    QDeadlineTimer deadline(2000);
    EXPECT_FALSE(here.sendCapture(300));
    EXPECT_FALSE(deadline.hasExpired());
    SingleInstance nowhere(folder() + QStringLiteral("/missing"));
    EXPECT_TRUE(nowhere.claim()) << "an unusable folder blocks no start";
    EXPECT_FALSE(nowhere.sendCapture(300));

    Instance first(role("hold"));
    ASSERT_TRUE(first.says("running"));

    Instance second(role("hold"));
    EXPECT_TRUE(second.says("refused"));
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
    }
    // Its lock file and socket file are still there; neither may count.
    EXPECT_TRUE(QFileInfo::exists(folder() + QStringLiteral("/face-morvelin.lock")));
    EXPECT_TRUE(QFileInfo::exists(folder() + QStringLiteral("/face-morvelin.socket")));

    SingleInstance next(folder());
    ASSERT_TRUE(next.claim());
    QObject::connect(&next, &SingleInstance::captureRequested, [this] { ++m_captures; });
    Instance sender(role("send"));
    EXPECT_TRUE(sender.says("sent"));
    EXPECT_EQ(m_captures, 1);
}

// A socket's path has at most 107 bytes: a longer one can never be reached, and the program says
// which path it is and how to get a shorter one.
TEST(SingleInstanceSocketTest, APathTooLongForASocketIsNamedWithTheWayOut)
{
    const QString shortFolder = QStringLiteral("/run/user/1000");
    EXPECT_TRUE(SingleInstance(shortFolder).socketProblem().isEmpty());
    const QString longFolder = QStringLiteral("/home/") + QString(100, QLatin1Char('a'));
    const SingleInstance instance(longFolder);
    const QString problem = instance.socketProblem();
    EXPECT_TRUE(problem.contains(longFolder + QStringLiteral("/face-morvelin.socket"))) << problem.toStdString();
    EXPECT_TRUE(problem.contains(QStringLiteral("XDG_RUNTIME_DIR"))) << problem.toStdString();
    EXPECT_FALSE(instance.sendCapture(100));
}

TEST_F(SingleInstanceTest, OnlyTheUserReachesTheSocketStrangeRequestsAreDroppedAndStartedProgramsGetNoLock)
{
    QProcess viewer;
    auto instance = std::make_unique<SingleInstance>(folder());
    ASSERT_TRUE(instance->claim());
    viewer.start(QStringLiteral("sleep"), {QStringLiteral("30")});
    ASSERT_TRUE(viewer.waitForStarted());
    const QFileInfo socketFile(folder() + QStringLiteral("/face-morvelin.socket"));
    const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther;
    EXPECT_EQ(socketFile.permissions() & others, QFile::Permissions());

    QObject::connect(instance.get(), &SingleInstance::captureRequested, [this] { ++m_captures; });
    QObject::connect(instance.get(), &SingleInstance::photoRequested, [this] { ++m_captures; });
    // A photo only by its full path, in base64.
    for (const QByteArray& request : {QByteArray("capture now\n"), QByteArray("exit\n"), QByteArray(10000, 'x'),
                                      "photo " + QByteArray("a.jpg").toBase64() + '\n', QByteArray("photo /a.jpg\n")}) {
        QLocalSocket client;
        client.connectToServer(socketFile.filePath());
        ASSERT_TRUE(client.waitForConnected(waitMs));
        client.write(request);
        client.flush();
        waitUntil([&] { return client.waitForDisconnected(20) || client.state() != QLocalSocket::ConnectedState; }, waitMs);
        EXPECT_EQ(client.state(), QLocalSocket::UnconnectedState) << request.left(20).constData();
        EXPECT_EQ(client.readAll(), QByteArray()) << request.left(20).constData();
    }
    EXPECT_EQ(m_captures, 0);

    // The viewer the instance started outlives it without holding its lock.
    instance.reset();
    EXPECT_TRUE(SingleInstance(folder()).claim());
    viewer.kill();
    viewer.waitForFinished();
}

TEST_F(SingleInstanceTest, WithoutARuntimeFolderOfItsOwnTheLockMovesToTheUsersCache)
{
    if (::getuid() != 0) {
        GTEST_SKIP() << "handing a folder to another user needs root";
    }
    // No XDG_RUNTIME_DIR, and the folder the runtime location falls back to taken by another user.
    QTemporaryDir cache;
    QTemporaryDir temp;
    const QString taken = temp.filePath(QStringLiteral("runtime-root"));
    ASSERT_TRUE(QDir().mkpath(taken));
    ASSERT_EQ(::chown(QFile::encodeName(taken).constData(), 65534, 65534), 0);
    const QByteArray variables[] = {"XDG_RUNTIME_DIR", "XDG_CACHE_HOME", "TMPDIR"};
    QByteArray before[3];
    for (int i = 0; i < 3; ++i) {
        before[i] = qgetenv(variables[i].constData());
    }
    qunsetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_CACHE_HOME", QFile::encodeName(cache.path()));
    qputenv("TMPDIR", QFile::encodeName(temp.path()));
    const QString folder = SingleInstance::defaultFolder();
    for (int i = 0; i < 3; ++i) {
        qputenv(variables[i].constData(), before[i]);
    }

    EXPECT_TRUE(folder.startsWith(cache.path())) << folder.toStdString();
    SingleInstance first(folder);
    SingleInstance second(folder);
    EXPECT_TRUE(first.claim());
    EXPECT_FALSE(second.claim()) << "a second start is refused";
}
