// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QIcon>
#include <QObject>
#include <QString>

class QAction;
class QMenu;
class QSystemTrayIcon;

namespace morvelin {

// The program's icon in the desktop's notification area: a tool tip, a left click, and a pop-up menu
// with a default entry on the right button.
class SystemTray : public QObject {
    Q_OBJECT

public:
    explicit SystemTray(QObject* parent = nullptr);
    ~SystemTray() override;

    // Whether the desktop has a notification area to put the icon in.
    static bool isAvailable();

    void setIcon(const QIcon& icon);
    void setToolTip(const QString& text);
    QString toolTip() const;

    // The desktop shows the menu itself on the right button; the default entry is drawn bold.
    void setPopupMenu(QMenu* menu, QAction* defaultEntry);

    void show();
    void remove();
    bool isShown() const;

signals:
    // 1 for the left button, 2 for the right one.
    void MouseClick(int button);

private:
    QSystemTrayIcon* m_icon = nullptr;
};

} // namespace morvelin
