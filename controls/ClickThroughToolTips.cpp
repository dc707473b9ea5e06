// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "controls/ClickThroughToolTips.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace morvelin {

void ClickThroughToolTips::install()
{
    QCoreApplication* application = QCoreApplication::instance();
    if (application == nullptr || application->findChild<ClickThroughToolTips*>(QString(), Qt::FindDirectChildrenOnly)) {
        return;
    }
    application->installEventFilter(new ClickThroughToolTips(application));
}

bool ClickThroughToolTips::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::Show || !watched->isWidgetType()) {
        return false;
    }
    auto* tip = static_cast<QWidget*>(watched);
    if (tip->windowType() != Qt::ToolTip) {
        return false;
    }
    // Once the window is on the screen: on X11 the flag given any earlier does not hold.
    QTimer::singleShot(0, tip, [tip] {
        if (QWindow* window = tip->windowHandle()) {
            window->setFlag(Qt::WindowTransparentForInput, true);
        }
    });
    return false;
}

} // namespace morvelin
