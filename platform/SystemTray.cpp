// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "platform/SystemTray.h"

#include <QMenu>
#include <QSystemTrayIcon>

namespace morvelin {

SystemTray::SystemTray(QObject* parent)
    : QObject(parent)
    , m_icon(new QSystemTrayIcon(this))
{
    connect(m_icon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger) {
            emit MouseClick(1);
        } else if (reason == QSystemTrayIcon::Context) {
            emit MouseClick(2);
        }
    });
}

// An icon left in the notification area after the program has gone would be a dead button.
SystemTray::~SystemTray()
{
    remove();
}

bool SystemTray::isAvailable()
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void SystemTray::setIcon(const QIcon& icon)
{
    m_icon->setIcon(icon);
}

void SystemTray::setToolTip(const QString& text)
{
    m_icon->setToolTip(text);
}

QString SystemTray::toolTip() const
{
    return m_icon->toolTip();
}

void SystemTray::setPopupMenu(QMenu* menu, QAction* defaultEntry)
{
    if (menu != nullptr && defaultEntry != nullptr) {
        menu->setDefaultAction(defaultEntry);
    }
    m_icon->setContextMenu(menu);
}

void SystemTray::show()
{
    m_icon->show();
}

void SystemTray::remove()
{
    m_icon->hide();
}

bool SystemTray::isShown() const
{
    return m_icon->isVisible();
}

} // namespace morvelin
