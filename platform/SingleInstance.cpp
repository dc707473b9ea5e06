// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "platform/SingleInstance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/un.h>
#include <unistd.h>

namespace morvelin {

namespace {

const QByteArray captureRequest = QByteArrayLiteral("capture\n");
// Followed by the photo's path in base64: a name's bytes may be anything but NUL, a newline too.
const QByteArray photoRequest = QByteArrayLiteral("photo ");
const QByteArray acknowledgement = QByteArrayLiteral("ok\n");
// Requests are one line, at most a path of PATH_MAX bytes in base64; anything longer is not from
// this program.
constexpr qint64 longestRequest = 6000;
constexpr int connectRetryMs = 100;

bool readLine(QLocalSocket& socket, const QByteArray& expected, QDeadlineTimer deadline)
{
    while (!socket.canReadLine()) {
        if (deadline.hasExpired() || !socket.waitForReadyRead(int(deadline.remainingTime()))) {
            return false;
        }
    }
    return socket.readLine(longestRequest + 1) == expected;
}

} // namespace

SingleInstance::SingleInstance(const QString& folder, QObject* parent)
    : QObject(parent)
    , m_lockPath(folder.isEmpty() ? QString() : folder + QStringLiteral("/face-morvelin.lock"))
    , m_socketPath(folder.isEmpty() ? QString() : folder + QStringLiteral("/face-morvelin.socket"))
{
}

SingleInstance::~SingleInstance()
{
    if (m_server != nullptr) {
        m_server->close();
    }
    if (m_lockFile >= 0) {
        // The lock file itself stays: removing it could race with the next start taking it.
        ::close(m_lockFile);
    }
}

QString SingleInstance::defaultFolder()
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!runtime.isEmpty()) {
        return runtime;
    }
    // No usable runtime folder (unset, or taken by another user): a private one in the user's own
    // cache instead, never no lock at all.
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (cache.isEmpty()) {
        return QString();
    }
    const QString folder = cache + QStringLiteral("/face-morvelin-") + QString::number(::getuid());
    if (!QDir().mkpath(folder)) {
        return QString();
    }
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return folder;
}

bool SingleInstance::claim()
{
    if (m_running) {
        return true;
    }
    if (!takeLock()) {
        return false;
    }
    m_running = true;
    listen();
    return true;
}

bool SingleInstance::isRunningInstance() const
{
    return m_running;
}

bool SingleInstance::takeLock()
{
    if (m_lockPath.isEmpty()) {
        return true;
    }
    // Close-on-exec: a program started from here (a photo viewer) must not inherit the lock and
    // keep holding it after this process ends.
    const QByteArray path = QFile::encodeName(m_lockPath);
    const int file = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (file < 0) {
        return true;
    }
    if (::flock(file, LOCK_EX | LOCK_NB) != 0) {
        const bool heldByOther = errno == EWOULDBLOCK;
        ::close(file);
        return !heldByOther;
    }
    m_lockFile = file;
    return true;
}

void SingleInstance::listen()
{
    if (m_socketPath.isEmpty()) {
        return;
    }
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // Holding the lock makes any socket left at this path a dead instance's.
    QLocalServer::removeServer(m_socketPath);
    if (!m_server->listen(m_socketPath)) {
        return;
    }
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* client = m_server->nextPendingConnection()) {
            connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
            connect(client, &QLocalSocket::readyRead, this, [this, client] { readRequest(client); });
            readRequest(client);
        }
    });
}

void SingleInstance::readRequest(QLocalSocket* client)
{
    if (!client->canReadLine()) {
        if (client->bytesAvailable() > longestRequest) {
            client->abort();
        }
        return;
    }
    const QByteArray request = client->readLine(longestRequest + 1);
    QByteArray photo;
    if (request.startsWith(photoRequest) && request.endsWith('\n')) {
        const auto decoded = QByteArray::fromBase64Encoding(request.mid(photoRequest.size()).chopped(1),
                                                            QByteArray::AbortOnBase64DecodingErrors);
        photo = decoded ? *decoded : QByteArray();
    }
    // Only a full path: the sender's working folder is not this process's.
    if (request != captureRequest && !photo.startsWith('/')) {
        client->abort();
        return;
    }
    client->write(acknowledgement);
    client->flush();
    if (photo.isEmpty()) {
        emit captureRequested();
    } else {
        emit photoRequested(photo);
    }
}

QString SingleInstance::socketProblem() const
{
    // The kernel keeps a socket's path in sun_path, its last byte for the terminating NUL.
    constexpr qsizetype longestPath = sizeof(sockaddr_un::sun_path) - 1;
    const qsizetype length = QFile::encodeName(m_socketPath).size();
    if (length <= longestPath) {
        return QString();
    }
    return QStringLiteral("the request socket %1 is %2 bytes long, more than the %3 a socket's path may have; "
                          "set XDG_RUNTIME_DIR to a shorter folder of your own (such as /run/user/%4)")
        .arg(m_socketPath)
        .arg(length)
        .arg(longestPath)
        .arg(::getuid());
}

bool SingleInstance::sendCapture(int timeoutMs) const
{
    return send(captureRequest, timeoutMs);
}

bool SingleInstance::sendPhoto(const QByteArray& path, int timeoutMs) const
{
    return send(photoRequest + path.toBase64() + '\n', timeoutMs);
}

bool SingleInstance::send(const QByteArray& request, int timeoutMs) const
{
    if (m_socketPath.isEmpty() || !socketProblem().isEmpty()) {
        return false;
    }
    const QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    // A running instance that is still starting holds the lock before it listens.
    for (;;) {
        socket.connectToServer(m_socketPath);
        if (socket.waitForConnected(int(deadline.remainingTime()))) {
            break;
        }
        if (deadline.hasExpired()) {
            return false;
        }
        QThread::msleep(connectRetryMs);
    }
    socket.write(request);
    if (!socket.waitForBytesWritten(int(deadline.remainingTime()))) {
        return false;
    }
    return readLine(socket, acknowledgement, deadline);
}

} // namespace morvelin
