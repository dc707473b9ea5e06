#include "controls/FlatButton.h"

#include "controls/LayoutUnits.h"

#include "controls/ButtonPainter.h"

#include <QCursor>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <QShortcutEvent>

#include <cmath>

namespace morvelin {

namespace {

constexpr int minimumTwips = 100;
constexpr int defaultWidth = 75;
constexpr int defaultHeight = 25;

int roundHalfEven(double value)
{
    return static_cast<int>(std::nearbyint(value));
}

int pixelsAtLeast(int twips, int logicalDpi)
{
    if (logicalDpi <= 0) {
        return 1;
    }
    return static_cast<int>(std::ceil(LayoutUnits::pixels(twips, logicalDpi)));
}

int buttonBits(Qt::MouseButtons buttons)
{
    int bits = 0;
    bits |= buttons.testFlag(Qt::LeftButton) ? 1 : 0;
    bits |= buttons.testFlag(Qt::RightButton) ? 2 : 0;
    bits |= buttons.testFlag(Qt::MiddleButton) ? 4 : 0;
    return bits;
}

int shiftBits(Qt::KeyboardModifiers modifiers)
{
    int bits = 0;
    bits |= modifiers.testFlag(Qt::ShiftModifier) ? 1 : 0;
    bits |= modifiers.testFlag(Qt::ControlModifier) ? 2 : 0;
    bits |= modifiers.testFlag(Qt::AltModifier) ? 4 : 0;
    return bits;
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
    : QWidget(parent)
{
    m_caption = placementCaption();
    initialise();
}

FlatButton::FlatButton(const QString& caption, QWidget* parent)
    : QWidget(parent)
    , m_caption(caption)
{
    initialise();
}

void FlatButton::initialise()
{
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFont(defaultFont());
    updateMinimumSize();
    updateAccessKey();
    // The first state comes from the first Enabled, as when a placed button's properties load.
    enabledChanged();
}

QString FlatButton::placementCaption() const
{
    QList<FlatButton*> siblings;
    if (parentWidget()) {
        siblings = window()->findChildren<FlatButton*>();
        siblings.removeAll(const_cast<FlatButton*>(this));
    }
    const auto taken = [&siblings](const QString& caption) {
        for (const FlatButton* sibling : siblings) {
            if (sibling->Caption() == caption) {
                return true;
            }
        }
        return false;
    };
    for (const QString& caption : {QStringLiteral("&OK"), QStringLiteral("&Cancel"), QStringLiteral("&Apply")}) {
        if (!taken(caption)) {
            return caption;
        }
    }
    if (!objectName().isEmpty()) {
        return objectName();
    }
    return QStringLiteral("FlatButton%1").arg(siblings.size() + 1);
}

void FlatButton::setCaption(const QString& caption)
{
    m_caption = caption;
    updateAccessKey();
    updateGeometry();
    draw(m_state, Redraw::Always);
}

void FlatButton::setForeColor(const QColor& colour)
{
    m_foreColor = colour;
    draw(m_state, Redraw::Always);
}

void FlatButton::setFocusRect(bool show)
{
    m_focusRect = show;
    if (m_hasFocus) {
        draw(m_state, Redraw::Always);
    }
}

void FlatButton::setDisplayAsDefault(bool isDefault)
{
    m_isDefault = isDefault;
    if (!isEnabled() || m_hover) {
        return;
    }
    if (isDefault) {
        draw(ButtonPainter::Focused, Redraw::Always);
    } else {
        draw(ButtonPainter::Normal);
    }
}

QString FlatButton::accessKeyOf(const QString& caption)
{
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&')) {
            continue;
        }
        if (i + 1 >= caption.size()) {
            return {};
        }
        if (caption[i + 1] == QLatin1Char('&')) {
            ++i; // "&&" is a literal ampersand
            continue;
        }
        return caption.mid(i + 1, 1).toLower();
    }
    return {};
}

void FlatButton::updateAccessKey()
{
    m_accessKey = accessKeyOf(m_caption);
    if (m_shortcutId != 0) {
        releaseShortcut(m_shortcutId);
        m_shortcutId = 0;
    }
    if (m_accessKey.isEmpty()) {
        return;
    }
    const QKeySequence key = QKeySequence::fromString(QStringLiteral("Alt+") + m_accessKey.toUpper());
    if (!key.isEmpty()) {
        m_shortcutId = grabShortcut(key);
    }
}

void FlatButton::SnapMouseTo()
{
    const QPoint centre(roundHalfEven(width() / 2.0), roundHalfEven(height() / 2.0));
    QCursor::setPos(screen(), mapToGlobal(QPoint(0, 0)) + centre);
}

QSize FlatButton::sizeHint() const
{
    const int textWidth = fontMetrics().horizontalAdvance(QString(m_caption).remove(QLatin1Char('&')));
    return {qMax(defaultWidth, textWidth + 16), defaultHeight};
}

void FlatButton::draw(int state, Redraw redraw)
{
    if (redraw == Redraw::IfChanged && state == m_state) {
        return;
    }
    m_state = state;
    update();
}

void FlatButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    ButtonPainter::Look look;
    look.state = m_state;
    look.caption = m_caption;
    look.font = font();
    look.foreColor = m_foreColor;
    look.enabled = isEnabled();
    look.focusRect = m_hasFocus && m_focusRect && m_state >= ButtonPainter::Focused;
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
    QWidget::resizeEvent(event);
    updateShape();
    draw(m_state, Redraw::Always);
}

void FlatButton::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // A button shown in a window that is already active gets no activation of its own.
    m_parentActive = isActiveWindow();
}

bool FlatButton::event(QEvent* event)
{
    if (event->type() == QEvent::Shortcut) {
        const auto* shortcut = static_cast<QShortcutEvent*>(event);
        if (shortcut->shortcutId() == m_shortcutId) {
            accessKeyPressed();
            return true;
        }
    }
    const bool handled = QWidget::event(event);
    switch (event->type()) {
    case QEvent::Leave:
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
        hookProc(event);
        break;
    default:
        break;
    }
    return handled;
}

void FlatButton::hookProc(QEvent* event)
{
    switch (event->type()) {
    case QEvent::Leave:
        mouseLeft();
        break;
    case QEvent::WindowActivate:
        windowActivated();
        break;
    case QEvent::WindowDeactivate:
        windowDeactivated();
        break;
    default:
        break;
    }
}

void FlatButton::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange) {
        enabledChanged();
    } else if (event->type() == QEvent::FontChange) {
        updateGeometry();
        draw(m_state, Redraw::Always);
    }
}

void FlatButton::enabledChanged()
{
    const bool enabled = isEnabled();
    if (m_hover && enabled) {
        draw(ButtonPainter::Hot, Redraw::Always);
    } else if (m_isDefault && enabled) {
        draw(ButtonPainter::Focused, Redraw::Always);
    } else {
        draw(enabled ? ButtonPainter::Normal : ButtonPainter::Disabled);
    }
}

void FlatButton::mousePressEvent(QMouseEvent* event)
{
    m_lastButton = event->button();
    if (event->button() != Qt::LeftButton) {
        return;
    }
    // A press is how a person activates a window. On X11 the activation comes after the release, if
    // a window manager gives it at all; without this the first click on an inactive window is lost.
    if (!m_parentActive) {
        m_parentActive = true;
        window()->activateWindow();
    }
    m_hasFocus = true;
    m_armed = true;
    m_mouseHeld = true;
    draw(ButtonPainter::Pressed);
}

void FlatButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const bool click = m_parentActive && m_hover && m_hasFocus && m_armed;
    if (m_parentActive) {
        if (m_hover) {
            draw(ButtonPainter::Hot);
        } else if (m_hasFocus) {
            draw(ButtonPainter::Focused, Redraw::Always);
        }
    }
    m_armed = false;
    m_mouseHeld = false;
    if (click) {
        emit Click();
    }
}

void FlatButton::mouseDoubleClickEvent(QMouseEvent*)
{
    // Not the press Qt would make of it: the second press of a double click arms nothing.
    if (m_lastButton != Qt::LeftButton) {
        return;
    }
    draw(ButtonPainter::Pressed, Redraw::Always);
    emit DblClick();
}

void FlatButton::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF at = event->position();
    m_hover = at.x() >= 0 && at.x() <= width() && at.y() >= 0 && at.y() <= height();
    if (!m_parentActive || m_spaceHeld) {
        return;
    }
    if (m_hover) {
        draw(m_armed ? ButtonPainter::Pressed : ButtonPainter::Hot);
    } else {
        draw(m_hasFocus ? ButtonPainter::Focused : ButtonPainter::Normal);
    }
    emit MouseMove(buttonBits(event->buttons()), shiftBits(event->modifiers()), static_cast<float>(at.x()),
                   static_cast<float>(at.y()));
}

void FlatButton::mouseLeft()
{
    m_hover = false;
    if (m_spaceHeld || m_state == ButtonPainter::Disabled) {
        return;
    }
    if (!m_hasFocus && !m_isDefault) {
        draw(ButtonPainter::Normal);
        return;
    }
    if (m_state != ButtonPainter::Pressed) {
        if (m_parentActive) {
            draw(ButtonPainter::Focused);
        }
        return;
    }
    draw(m_armed ? ButtonPainter::Focused : ButtonPainter::Normal);
}

void FlatButton::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        emit Click();
        return;
    case Qt::Key_Space:
        if (!m_mouseHeld) {
            m_spaceHeld = true;
            m_armed = true;
            draw(ButtonPainter::Pressed);
        }
        return;
    case Qt::Key_Left:
    case Qt::Key_Up:
        focusNextPrevChild(false);
        return;
    case Qt::Key_Right:
    case Qt::Key_Down:
        focusNextPrevChild(true);
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void FlatButton::keyReleaseEvent(QKeyEvent* event)
{
    // X11 repeats a held key as release and press pairs; only the real release counts.
    if (event->key() != Qt::Key_Space || event->isAutoRepeat()) {
        QWidget::keyReleaseEvent(event);
        return;
    }
    if (m_mouseHeld) {
        return;
    }
    draw(m_hover ? ButtonPainter::Hot : ButtonPainter::Focused);
    const bool click = m_armed;
    m_spaceHeld = false;
    m_armed = false;
    if (click) {
        emit Click();
    }
}

void FlatButton::accessKeyPressed()
{
    if (!isEnabled()) {
        return;
    }
    if (m_spaceHeld) {
        m_spaceHeld = false;
        m_armed = false;
        draw(m_hover ? ButtonPainter::Hot : ButtonPainter::Focused);
    }
    // Show the new state before the click handler runs, which may take a while.
    if (isVisible()) {
        repaint();
    }
    emit Click();
}

void FlatButton::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    m_hasFocus = true;
    if (m_hover) {
        if (m_state != ButtonPainter::Hot && m_state != ButtonPainter::Pressed) {
            draw(ButtonPainter::Hot);
        }
    } else if (!m_armed) {
        draw(ButtonPainter::Focused);
    }
}

void FlatButton::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    // A drop-down list or menu opening elsewhere does not take the focus from the button for the user.
    if (event->reason() == Qt::PopupFocusReason) {
        return;
    }
    m_hasFocus = false;
    m_armed = false;
    m_spaceHeld = false;
    if (!isEnabled()) {
        return;
    }
    if (!m_parentActive) {
        draw(ButtonPainter::Normal);
    } else if (m_hover) {
        draw(ButtonPainter::Hot);
    } else if (m_isDefault) {
        draw(ButtonPainter::Focused, Redraw::Always);
    } else {
        draw(ButtonPainter::Normal);
    }
}

void FlatButton::windowActivated()
{
    m_parentActive = true;
    if (isEnabled()) {
        if (m_hover) {
            draw(ButtonPainter::Hot);
        } else if (m_hasFocus || m_isDefault) {
            draw(ButtonPainter::Focused, Redraw::Always);
        }
    }
    emit FormActivate(1);
}

void FlatButton::windowDeactivated()
{
    m_parentActive = false;
    m_armed = false;
    m_mouseHeld = false;
    m_spaceHeld = false;
    if (isEnabled()) {
        draw(ButtonPainter::Normal);
    }
    emit FormActivate(0);
}

} // namespace morvelin
