// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QAbstractButton>
#include <QString>

namespace morvelin {

// The program's own push button: flat and rounded, drawn by itself in five states (disabled,
// normal, focused or default, hot, pressed). Qt's button decides what a click is, so a press and a
// release over it count whatever the pointer did before, and screen readers see a push button. The
// first button makes the application's tooltips let clicks through (ClickThroughToolTips), so that a
// tooltip lying over a button does not swallow its click.
class FlatButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit FlatButton(QWidget* parent = nullptr);
    explicit FlatButton(const QString& caption, QWidget* parent = nullptr);

    // The text with its access key marked by '&' ("&&" for an ampersand).
    QString Caption() const { return text(); }
    void setCaption(const QString& caption);

    // Draw the focus mark inside the border while the button has the focus.
    bool FocusRect() const { return m_focusRect; }
    void setFocusRect(bool show);

    // The host shows this button as its default button.
    void setDisplayAsDefault(bool isDefault);

    // The visual state as it is drawn now, ButtonPainter::Disabled … ButtonPainter::Pressed.
    int state() const;

    QSize sizeHint() const override;

signals:
    // Each click, by the mouse, Space, Return or Enter, the access key or a screen reader's press.
    void Click();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void initialise();
    bool showsFocus() const;
    void setHover(bool hover);
    void updateMinimumSize();
    void updateShape();

    bool m_focusRect = true;
    bool m_isDefault = false;
    bool m_hover = false;
};

} // namespace morvelin
