// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

namespace morvelin {

// One running program per user. The first start holds a lock that the kernel lets go of when the
// process ends however it ends, so a crash never blocks the next start; it also listens for
// requests from later starts ("face-morvelin --capture", "face-morvelin --face PHOTO").
class SingleInstance : public QObject {
    Q_OBJECT

public:
    // folder: where the lock and the request socket live; only this user may write there.
    explicit SingleInstance(const QString& folder = defaultFolder(), QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this process is now the running instance and hears requests; false when another
    // process of this user holds the lock. A lock that cannot be made at all (no folder, no
    // permission) does not keep the program from starting: then this is true too.
    bool claim();
    bool isRunningInstance() const;

    // Asks the running instance to capture the screen and waits for its answer; false when no
    // instance answered within timeoutMs (also while one is still starting and not yet listening).
    bool sendCapture(int timeoutMs = 5000) const;
    // Asks the running instance to show the faces of the photo at `path` (its bytes, a full path), as
    // sendCapture asks.
    bool sendPhoto(const QByteArray& path, int timeoutMs = 5000) const;
    // Why requests cannot pass at all (the socket's path is longer than a socket's name may be),
    // with the way out; empty when they can.
    QString socketProblem() const;

    // The user's runtime folder ($XDG_RUNTIME_DIR): private to the user and emptied at logout; a
    // private folder in the user's cache when there is none the user owns.
    static QString defaultFolder();

signals:
    void captureRequested();
    void photoRequested(const QByteArray& path);

private:
    bool send(const QByteArray& request, int timeoutMs) const;
    bool takeLock();
    void listen();
    void readRequest(QLocalSocket* client);

    QString m_lockPath;
    QString m_socketPath;
    int m_lockFile = -1;
    bool m_running = false;
    QLocalServer* m_server = nullptr;
};

} // namespace morvelin
