// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "app/Module1.h"

#include "app/AppIcon.h"
#include "app/Helpers.h"
#include "app/Translate.h"
#include "app/WinMain.h"
#include "app/WinWelcome.h"
#include "base/ProgramNames.h"
#include "platform/Settings.h"
#include "platform/SingleInstance.h"
#include "platform/SystemTray.h"
#include "platform/UnixSignalWatcher.h"
#include "search/NativePath.h"

#include <QMessageBox>
#include <QTimer>

#include <csignal>

namespace morvelin {

Module1::Module1(QObject* parent)
    : QObject(parent)
    , m_instance(std::make_unique<SingleInstance>())
{
}

// Windows still open go without their close handlers: the welcome window must not bring the main
// window up on the way out.
Module1::~Module1()
{
    delete m_welcome.data();
}

Module1::Start Module1::Main(bool capture, const QString& photo)
{
    // Before the claim: a signal that comes once the instance is visible must still end it cleanly.
    endCleanlyOnSignals();
    if (!m_instance->claim()) {
        if (capture || !photo.isEmpty()) {
            const bool sent = capture ? m_instance->sendCapture() : m_instance->sendPhoto(NativePath::encode(photo));
            return sent ? Start::RequestSent : Start::RequestNotSent;
        }
        refuseSecondStart();
        return Start::Refused;
    }
    // A capture start wants the screen as it is, a photo start the gallery; the welcome window would
    // cover either. It comes back with the next plain start.
    if (!capture && photo.isEmpty() && Settings::showWelcome()) {
        showWelcome();
    }
    loadMainWindow();
    if (!SystemTray::isAvailable()) {
        liveWithoutTray();
    }
    hearRequests();
    if (capture) {
        QTimer::singleShot(0, m_main.get(), [this] { m_main->GoCapture(QString()); });
    } else if (!photo.isEmpty()) {
        QTimer::singleShot(0, m_main.get(), [this, photo] { m_main->useChosenPhoto(photo); });
    }
    return Start::Running;
}

// A photo from a later start is taken as one chosen with "Select a photo...".
void Module1::hearRequests()
{
    connect(m_instance.get(), &SingleInstance::captureRequested, m_main.get(),
            [this] { m_main->GoCapture(QString()); });
    connect(m_instance.get(), &SingleInstance::photoRequested, m_main.get(),
            [this](const QByteArray& path) { m_main->useChosenPhoto(NativePath::decode(path)); });
}

QString Module1::captureProblem() const
{
    return m_instance->socketProblem();
}

WinMain* Module1::mainWindow() const
{
    return m_main.get();
}

WinWelcome* Module1::welcomeWindow() const
{
    return m_welcome.data();
}

void Module1::refuseSecondStart() const
{
    QMessageBox box(QMessageBox::Information, ProgramNames::title(),
                    Translate(QT_TRANSLATE_NOOP("Morvelin", "Application already running...")) + QLatin1Char('\n')
                        + Translate(QT_TRANSLATE_NOOP("Morvelin", "Press F12 or click on the system tray icon")),
                    QMessageBox::Ok);
    box.setWindowIcon(AppIcon());
    box.exec();
}

void Module1::endCleanlyOnSignals()
{
    // SIGHUP too: a logout that closes the terminal the program was started from sends it.
    m_signals = new UnixSignalWatcher({SIGINT, SIGTERM, SIGHUP}, this);
    connect(m_signals, &UnixSignalWatcher::received, this, [] { ExitProgram(); });
}

void Module1::showWelcome()
{
    m_welcome = new WinWelcome;
    m_welcome->show();
}

void Module1::loadMainWindow()
{
    m_main = std::make_unique<WinMain>();
    if (m_welcome) {
        connect(m_welcome, &WinWelcome::closed, m_main.get(), &WinMain::showFromWelcome);
    }
}

// Without a tray a hidden main window could never come back: it is on screen from the start (once
// the welcome window is closed) and its close box ends the program.
void Module1::liveWithoutTray()
{
    m_main->setCloseEndsProgram(true);
    if (!m_welcome) {
        m_main->showFromWelcome();
    }
}

} // namespace morvelin
