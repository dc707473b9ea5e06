// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QObject>
#include <QPointer>

#include <memory>

namespace morvelin {

class SingleInstance;
class UnixSignalWatcher;
class WinMain;
class WinWelcome;

// The program's start routine, and what start-up keeps for the program's life: the instance lock,
// the main window (loaded hidden, living in the tray), the welcome window while it is open, and
// the clean end on SIGTERM, SIGINT and SIGHUP.
class Module1 : public QObject {
    Q_OBJECT

public:
    enum class Start {
        Running,        // this process is the program now: run the event loop
        Refused,        // another instance runs; the user has been told
        RequestSent,    // "--capture" or "--face PHOTO" was handed to the running instance
        RequestNotSent, // another instance holds the lock but did not answer
    };

    explicit Module1(QObject* parent = nullptr);
    ~Module1() override;

    // capture: started as "face-morvelin --capture", to search the faces on screen at once; photo:
    // started as "face-morvelin --face PHOTO" (a full path), to show the photo's faces. One at most.
    Start Main(bool capture = false, const QString& photo = QString());

    // Why no "--capture" or "--face" can reach the running instance, empty when one can.
    QString captureProblem() const;

    WinMain* mainWindow() const;
    WinWelcome* welcomeWindow() const;

private:
    void refuseSecondStart() const;
    void hearRequests();
    void endCleanlyOnSignals();
    void showWelcome();
    void loadMainWindow();
    void liveWithoutTray();

    std::unique_ptr<SingleInstance> m_instance;
    std::unique_ptr<WinMain> m_main;
    QPointer<WinWelcome> m_welcome;
    UnixSignalWatcher* m_signals = nullptr;
};

} // namespace morvelin
