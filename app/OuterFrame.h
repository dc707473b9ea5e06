// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QObject>
#include <QSize>

#include <functional>

class QWidget;

namespace morvelin {

// The frame the desktop puts around a window, as last seen. A window's layout rules count its outer
// size, but a window manager frames a window only once it is on screen: this keeps the frame known
// from then on, hidden or not, and says when it changed so that the layout can be made again.
class OuterFrame : public QObject {
public:
    OuterFrame(QWidget* window, std::function<void()> changed);

    // The width and height the frame adds to the window's own size.
    QSize size() const { return m_size; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void measure();

    QWidget* m_window;
    std::function<void()> m_changed;
    QSize m_size;
};

} // namespace morvelin
