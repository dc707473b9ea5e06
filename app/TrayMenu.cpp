// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "app/TrayMenu.h"

#include "app/AppIcon.h"
#include "app/Helpers.h"
#include "app/Translate.h"

#include <QCoreApplication>
#include <QMenu>

namespace morvelin {

TrayMenu::TrayMenu(QWidget* window)
    : QObject(window)
    , m_autostart(QCoreApplication::applicationFilePath())
    , m_trayMenu(new QMenu(window))
{
    m_trayMenu->setObjectName(QStringLiteral("traymenu"));
    m_searchFacesOnScreen = m_trayMenu->addAction(QString());
    m_searchFacesOnScreen->setObjectName(QStringLiteral("SearchFacesonScreen"));
    m_open = m_trayMenu->addAction(QString());
    m_open->setObjectName(QStringLiteral("OpenMainWindow"));
    connect(m_open, &QAction::triggered, this, &TrayMenu::openRequested);
    m_watchedFolders = m_trayMenu->addAction(QString());
    m_watchedFolders->setObjectName(QStringLiteral("WatchedFolders"));
    connect(m_watchedFolders, &QAction::triggered, this, &TrayMenu::watchedFoldersRequested);
    m_forgetScannedPhotos = m_trayMenu->addAction(QString());
    m_forgetScannedPhotos->setObjectName(QStringLiteral("ForgetScannedPhotos"));
    connect(m_forgetScannedPhotos, &QAction::triggered, this, &TrayMenu::forgetRequested);
    m_startAtLogin = m_trayMenu->addAction(QString());
    m_startAtLogin->setObjectName(QStringLiteral("StartAtLogin"));
    m_startAtLogin->setCheckable(true);
    // The tick is the entry's state, whoever made or removed it, also when writing it failed.
    const auto showAutostart = [this] { m_startAtLogin->setChecked(m_autostart.isEnabled()); };
    showAutostart();
    connect(m_trayMenu, &QMenu::aboutToShow, this, showAutostart);
    connect(m_startAtLogin, &QAction::triggered, this, [this, showAutostart](bool checked) {
        m_autostart.setEnabled(checked);
        showAutostart();
    });
    m_trayMenu->addSeparator()->setObjectName(QStringLiteral("sep"));
    m_exitApp = m_trayMenu->addAction(QString());
    m_exitApp->setObjectName(QStringLiteral("exitapp"));
    connect(m_searchFacesOnScreen, &QAction::triggered, this, &TrayMenu::captureRequested);
    connect(m_exitApp, &QAction::triggered, this, [] { ExitProgram(); });
    m_sysTray.setIcon(AppIcon());
    m_sysTray.setPopupMenu(m_trayMenu, m_searchFacesOnScreen);
    connect(&m_sysTray, &SystemTray::MouseClick, this, [this](int button) {
        // The right button's menu is the desktop's to show.
        if (button == 1) {
            emit captureRequested();
        }
    });
}

void TrayMenu::setTexts(const QString& searchFacesOnScreen, const QString& exit, const QString& toolTip)
{
    m_searchFacesOnScreen->setText(searchFacesOnScreen);
    m_open->setText(Translate(QT_TRANSLATE_NOOP("Morvelin", "Open Face Morvelin")));
    m_watchedFolders->setText(Translate(QT_TRANSLATE_NOOP("Morvelin", "Watched folders...")));
    m_forgetScannedPhotos->setText(Translate(QT_TRANSLATE_NOOP("Morvelin", "Forget scanned photos")));
    m_startAtLogin->setText(Translate(QT_TRANSLATE_NOOP("Morvelin", "Start at login")));
    m_exitApp->setText(exit);
    m_sysTray.setToolTip(toolTip);
    m_sysTray.show();
}

} // namespace morvelin
