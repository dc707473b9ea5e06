// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "platform/ScreenCapture.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QGuiApplication>
#include <QTimer>
#include <QUrl>

namespace morvelin {

namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString screenshotInterface = QStringLiteral("org.freedesktop.portal.Screenshot");
const QString requestInterface = QStringLiteral("org.freedesktop.portal.Request");

// The object path the portal answers on, known before the call so that no answer is missed.
QString requestPath(const QDBusConnection& bus, const QString& token)
{
    QString sender = bus.baseService().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    return portalPath + QStringLiteral("/request/") + sender + QLatin1Char('/') + token;
}

} // namespace

// One Screenshot call waiting for its answer; it goes once `done` has run.
class PortalRequest : public QObject {
    Q_OBJECT

public:
    PortalRequest(ScreenCapture::Done done, QObject* parent)
        : QObject(parent)
        , m_done(std::move(done))
    {
        QTimer::singleShot(ScreenCapture::portalTimeoutMs, this, [this] { finish(QImage()); });
    }

    void finish(const QImage& screen)
    {
        if (!m_done) {
            return;
        }
        const ScreenCapture::Done done = std::move(m_done);
        m_done = nullptr;
        deleteLater();
        done(screen);
    }

public slots:
    // 0 is success; the picture is a file the portal wrote.
    void onResponse(uint response, const QVariantMap& results)
    {
        if (response != 0) {
            finish(QImage());
            return;
        }
        finish(QImage(QUrl(results.value(QStringLiteral("uri")).toString()).toLocalFile()));
    }

private:
    ScreenCapture::Done m_done;
};

ScreenCapture::ScreenCapture(Grabber grab, QObject* parent)
    : QObject(parent)
    , m_grab(std::move(grab))
{
}

bool ScreenCapture::isWaylandSession()
{
    // Qt's own platform, or an X11 program running under XWayland, which sees only X windows.
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"))
        || qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland");
}

void ScreenCapture::capture(Done done)
{
    if (isWaylandSession()) {
        captureWithPortal(std::move(done));
        return;
    }
    done(m_grab ? m_grab() : QImage());
}

void ScreenCapture::captureWithPortal(Done done)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        done(QImage());
        return;
    }
    const QString token = QStringLiteral("morvelin%1").arg(++m_requests);
    auto* request = new PortalRequest(std::move(done), this);
    bus.connect(portalService, requestPath(bus, token), requestInterface, QStringLiteral("Response"), request,
                SLOT(onResponse(uint, QVariantMap)));

    QDBusMessage call = QDBusMessage::createMethodCall(portalService, portalPath, screenshotInterface,
                                                       QStringLiteral("Screenshot"));
    const QVariantMap options{{QStringLiteral("handle_token"), token},
                              {QStringLiteral("interactive"), false},
                              {QStringLiteral("modal"), false}};
    call << QString() << options;
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), request);
    connect(watcher, &QDBusPendingCallWatcher::finished, request, [request](QDBusPendingCallWatcher* reply) {
        if (reply->isError()) {
            request->finish(QImage());
        }
        reply->deleteLater();
    });
}

} // namespace morvelin

#include "ScreenCapture.moc"
