// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "app/OuterFrame.h"

#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace morvelin {

OuterFrame::OuterFrame(QWidget* window, std::function<void()> changed)
    : QObject(window)
    , m_window(window)
    , m_changed(std::move(changed))
{
    window->installEventFilter(this);
}

bool OuterFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window) {
        switch (event->type()) {
        case QEvent::Show:
        case QEvent::Move:
        case QEvent::Resize:
            measure();
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

void OuterFrame::measure()
{
    const QWindow* native = m_window->windowHandle();
    if (native == nullptr || !m_window->isVisible()) {
        return;
    }
    const QMargins margins = native->frameMargins();
    const QSize size(margins.left() + margins.right(), margins.top() + margins.bottom());
    // Shown again, a window is unframed for a moment until the window manager takes it back: the
    // frame it had still holds.
    if (size == m_size || (size.isNull() && !m_size.isNull())) {
        return;
    }
    m_size = size;
    if (m_changed) {
        m_changed();
    }
}

} // namespace morvelin
