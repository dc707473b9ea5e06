// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "controls/FlatButton.h"

#include "controls/ButtonPainter.h"
#include "controls/ClickThroughToolTips.h"
#include "controls/LayoutUnits.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>

#include <cmath>

namespace morvelin {

namespace {

constexpr int minimumTwips = 100;
constexpr int defaultWidth = 75;
constexpr int defaultHeight = 25;

int pixelsAtLeast(int twips, int logicalDpi)
{
    if (logicalDpi <= 0) {
        return 1;
    }
    return static_cast<int>(std::ceil(LayoutUnits::pixels(twips, logicalDpi)));
}

QFont defaultFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans")});
    font.setPointSizeF(8.25);
    return font;
}

} // namespace

FlatButton::FlatButton(QWidget* parent)
    : QAbstractButton(parent)
{
    initialise();
}

FlatButton::FlatButton(const QString& caption, QWidget* parent)
    : QAbstractButton(parent)
{
    initialise();
    setText(caption);
}

void FlatButton::initialise()
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFont(defaultFont());
    updateMinimumSize();
    connect(this, &QAbstractButton::clicked, this, &FlatButton::Click);
    ClickThroughToolTips::install();
}

void FlatButton::setCaption(const QString& caption)
{
    // QAbstractButton takes the access key from the '&' and tells screen readers the new name.
    setText(caption);
    updateGeometry();
}

void FlatButton::setFocusRect(bool show)
{
    m_focusRect = show;
    update();
}

void FlatButton::setDisplayAsDefault(bool isDefault)
{
    m_isDefault = isDefault;
    update();
}

int FlatButton::state() const
{
    if (!isEnabled()) {
        return ButtonPainter::Disabled;
    }
    if (isDown()) {
        return ButtonPainter::Pressed;
    }
    // Hot in an inactive window too: a click there counts, so the button shows that it would.
    if (m_hover) {
        return ButtonPainter::Hot;
    }
    // An inactive window has no focus to show, nor a default button that Return would press.
    if (showsFocus() || (isActiveWindow() && m_isDefault)) {
        return ButtonPainter::Focused;
    }
    return ButtonPainter::Normal;
}

// A drop-down list or menu open elsewhere has the keyboard for a while; for the user the focus stays.
bool FlatButton::showsFocus() const
{
    return isActiveWindow() && window()->focusWidget() == this;
}

QSize FlatButton::sizeHint() const
{
    const int textWidth = fontMetrics().horizontalAdvance(QString(text()).remove(QLatin1Char('&')));
    return {qMax(defaultWidth, textWidth + 16), defaultHeight};
}

void FlatButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    ButtonPainter::Look look;
    look.state = state();
    look.caption = text();
    look.font = font();
    look.enabled = isEnabled();
    look.focusRect = m_focusRect && showsFocus() && look.state >= ButtonPainter::Focused;
    ButtonPainter::paint(painter, width(), height(), look);
}

void FlatButton::updateMinimumSize()
{
    setMinimumSize(pixelsAtLeast(minimumTwips, logicalDpiX()), pixelsAtLeast(minimumTwips, logicalDpiY()));
}

void FlatButton::updateShape()
{
    // The corner pixels stay outside, so the parent shows through the rounded corners.
    QRegion shape(rect());
    for (const QPoint& corner : {QPoint(0, 0), QPoint(width() - 1, 0), QPoint(0, height() - 1),
                                 QPoint(width() - 1, height() - 1)}) {
        shape -= QRegion(corner.x(), corner.y(), 1, 1);
    }
    setMask(shape);
}

void FlatButton::resizeEvent(QResizeEvent* event)
{
    QAbstractButton::resizeEvent(event);
    updateShape();
}

void FlatButton::changeEvent(QEvent* event)
{
    QAbstractButton::changeEvent(event);
    if (event->type() == QEvent::ActivationChange) {
        update();
    }
}

void FlatButton::setHover(bool hover)
{
    if (hover == m_hover) {
        return;
    }
    m_hover = hover;
    update();
}

// A window shown, or a button shown or uncovered, under a pointer that stays still brings an enter
// event and no move: the enter alone makes the button hot.
void FlatButton::enterEvent(QEnterEvent* event)
{
    setHover(true);
    QAbstractButton::enterEvent(event);
}

void FlatButton::leaveEvent(QEvent* event)
{
    setHover(false);
    QAbstractButton::leaveEvent(event);
}

void FlatButton::hideEvent(QHideEvent* event)
{
    // Shown again, it is hot only once the pointer is over it.
    setHover(false);
    QAbstractButton::hideEvent(event);
}

// The hover follows every position the button is told of before Qt's button acts on it: a click's
// handler may hide the button, which must then not stay hot.
void FlatButton::mousePressEvent(QMouseEvent* event)
{
    setHover(hitButton(event->position().toPoint()));
    QAbstractButton::mousePressEvent(event);
}

void FlatButton::mouseReleaseEvent(QMouseEvent* event)
{
    setHover(hitButton(event->position().toPoint()));
    QAbstractButton::mouseReleaseEvent(event);
}

void FlatButton::mouseMoveEvent(QMouseEvent* event)
{
    setHover(hitButton(event->position().toPoint()));
    QAbstractButton::mouseMoveEvent(event);
}

void FlatButton::keyPressEvent(QKeyEvent* event)
{
    // Return and Enter click the focused button, in a window as in a dialog; a held key clicks once.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (!event->isAutoRepeat()) {
            click();
        }
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

} // namespace morvelin
