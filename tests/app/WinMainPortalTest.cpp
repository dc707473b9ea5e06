// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

// The main window's screen capture on a Wayland session: the desktop portal's Screenshot call,
// answered here by a stand-in portal on a private session bus (run under dbus-run-session).

#include "platform/ScreenCapture.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

#include <optional>

using namespace morvelin;

namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");

// The portal's side: answers a Screenshot request on the request's own object path, as the real
// portal does, with the picture it "took" or with the user's refusal.
class FakePortal : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Screenshot")

public:
    explicit FakePortal(QDBusConnection bus) : m_bus(std::move(bus)) {}

    QString picture;         // file answered with; empty: the user refused
    bool answer = true;      // false: the request is never answered
    QVariantMap lastOptions; // what the program asked for

public slots:
    QDBusObjectPath Screenshot(const QString& parentWindow, const QVariantMap& options, const QDBusMessage& message)
    {
        Q_UNUSED(parentWindow);
        lastOptions = options;
        QString sender = message.service().mid(1);
        sender.replace(QLatin1Char('.'), QLatin1Char('_'));
        const QString request =
            portalPath + QStringLiteral("/request/") + sender + QLatin1Char('/') + options.value("handle_token").toString();
        if (answer) {
            QTimer::singleShot(50, this, [this, request] { respond(request); });
        }
        return QDBusObjectPath(request);
    }

private:
    void respond(const QString& request)
    {
        QDBusMessage response =
            QDBusMessage::createSignal(request, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
        QVariantMap results;
        if (!picture.isEmpty()) {
            results.insert(QStringLiteral("uri"), QUrl::fromLocalFile(picture).toString());
        }
        response << uint(picture.isEmpty() ? 1 : 0) << results;
        m_bus.send(response);
    }

    QDBusConnection m_bus;
};

class WinMainPortalTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!QDBusConnection::sessionBus().isConnected()) {
            GTEST_SKIP() << "no session bus (the test runs under dbus-run-session)";
        }
        m_portalBus = std::make_unique<QDBusConnection>(
            QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("fake-portal")));
        ASSERT_TRUE(m_portalBus->registerService(portalService));
        m_portal = std::make_unique<FakePortal>(*m_portalBus);
        ASSERT_TRUE(m_portalBus->registerObject(portalPath, m_portal.get(), QDBusConnection::ExportAllSlots));
    }

    void TearDown() override
    {
        if (m_portalBus) {
            m_portalBus->unregisterObject(portalPath);
            m_portalBus->unregisterService(portalService);
            QDBusConnection::disconnectFromBus(QStringLiteral("fake-portal"));
        }
    }

    // What the capture delivered, or nothing when it never called back.
    std::optional<QImage> captureWithPortal(int waitMs = 5000)
    {
        std::optional<QImage> delivered;
        int calls = 0;
        ScreenCapture capture([] { return QImage(); });
        capture.captureWithPortal([&](const QImage& screen) {
            delivered = screen;
            ++calls;
        });
        EXPECT_TRUE(QTest::qWaitFor([&] { return calls > 0; }, waitMs));
        QTest::qWait(100);
        EXPECT_LE(calls, 1) << "the answer arrives once";
        return delivered;
    }

    std::unique_ptr<QDBusConnection> m_portalBus;
    std::unique_ptr<FakePortal> m_portal;
};

} // namespace

TEST_F(WinMainPortalTest, ThePortalsPictureIsTheScreen)
{
    QTemporaryDir dir;
    QImage screen(320, 200, QImage::Format_RGB32);
    screen.fill(qRgb(10, 200, 30));
    m_portal->picture = dir.filePath(QStringLiteral("Screenshot.png"));
    ASSERT_TRUE(screen.save(m_portal->picture));

    const std::optional<QImage> delivered = captureWithPortal();
    ASSERT_TRUE(delivered.has_value());
    EXPECT_EQ(delivered->convertToFormat(QImage::Format_RGB32), screen);
    EXPECT_EQ(m_portal->lastOptions.value("interactive").toBool(), false) << "F12 means the whole screen, no questions";
    EXPECT_FALSE(m_portal->lastOptions.value("handle_token").toString().isEmpty());
}

TEST_F(WinMainPortalTest, ARefusalOrNoPortalGivesNoPicture)
{
    m_portal->picture.clear();
    std::optional<QImage> delivered = captureWithPortal();
    ASSERT_TRUE(delivered.has_value());
    EXPECT_TRUE(delivered->isNull());

    m_portalBus->unregisterObject(portalPath);
    m_portalBus->unregisterService(portalService);
    delivered = captureWithPortal();
    ASSERT_TRUE(delivered.has_value());
    EXPECT_TRUE(delivered->isNull());
}

TEST_F(WinMainPortalTest, X11SessionsAreGrabbedAtOnce)
{
    if (ScreenCapture::isWaylandSession()) {
        GTEST_SKIP() << "this test itself runs in a Wayland session";
    }
    QImage grabbed(4, 4, QImage::Format_RGB32);
    grabbed.fill(Qt::red);
    ScreenCapture capture([grabbed] { return grabbed; });
    std::optional<QImage> delivered;
    capture.capture([&](const QImage& screen) { delivered = screen; });
    ASSERT_TRUE(delivered.has_value()) << "no event loop needed";
    EXPECT_EQ(*delivered, grabbed);
}

#include "WinMainPortalTest.moc"
