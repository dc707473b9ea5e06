// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include "platform/Autostart.h"
#include "platform/SystemTray.h"

#include <QObject>

class QAction;
class QMenu;
class QWidget;

namespace morvelin {

// The tray icon with its menu: a left click or "Search for faces on screen" asks for a capture,
// "Open Face Morvelin" for the main window as it was left, "Watched folders..." for their dialog,
// "Forget scanned photos" for emptying the face index, "Start at login" shows and switches the desktop's autostart entry, "Exit" ends the program.
class TrayMenu : public QObject {
    Q_OBJECT

public:
    // The menu belongs to `window`.
    explicit TrayMenu(QWidget* window);

    void setTexts(const QString& searchFacesOnScreen, const QString& exit, const QString& toolTip);
    SystemTray& tray() { return m_sysTray; }

signals:
    void captureRequested();
    void openRequested();
    void forgetRequested();
    void watchedFoldersRequested();

private:
    SystemTray m_sysTray;
    Autostart m_autostart;
    QMenu* m_trayMenu = nullptr;
    QAction* m_searchFacesOnScreen = nullptr;
    QAction* m_open = nullptr;
    QAction* m_watchedFolders = nullptr;
    QAction* m_forgetScannedPhotos = nullptr;
    QAction* m_startAtLogin = nullptr;
    QAction* m_exitApp = nullptr;
};

} // namespace morvelin
