#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

namespace morvelin {

// The program's own push button: flat and rounded, drawn by itself in five states (disabled,
// normal, focused or default, hot, pressed), following the mouse, the keyboard and whether its
// window is active.
class FlatButton : public QWidget {
    Q_OBJECT
public:
    // Without a caption the button takes the first of "&OK", "&Cancel", "&Apply" that no other
    // button of its window has, as a freshly placed button would.
    explicit FlatButton(QWidget* parent = nullptr);
    explicit FlatButton(const QString& caption, QWidget* parent = nullptr);

    QString Caption() const { return m_caption; }
    void setCaption(const QString& caption);

    // Enabled and Font are the widget's own: QWidget::setEnabled and QWidget::setFont redraw.
    bool Enabled() const { return isEnabled(); }

    QColor ForeColor() const { return m_foreColor; }
    void setForeColor(const QColor& colour);

    // "Displays a rect inside button border when the control has the focus."
    bool FocusRect() const { return m_focusRect; }
    void setFocusRect(bool show);

    // The host shows this button as its default button.
    bool displayAsDefault() const { return m_isDefault; }
    void setDisplayAsDefault(bool isDefault);

    // The visual state last drawn, 0 disabled … 4 pressed.
    int state() const { return m_state; }

    // Lower case, empty when the caption has none.
    QString accessKey() const { return m_accessKey; }
    static QString accessKeyOf(const QString& caption);

    // Puts the mouse pointer on the middle of the button.
    void SnapMouseTo();

    // Receives the mouse leaving the button and its window's activation, after Qt has handled them.
    void hookProc(QEvent* event);

    QSize sizeHint() const override;

signals:
    void Click();
    void DblClick();
    // button and shift as bit sets: left 1, right 2, middle 4; Shift 1, Ctrl 2, Alt 4.
    void MouseMove(int button, int shift, float x, float y);
    // 1 when the window became active, 0 when it lost activation.
    void FormActivate(int state);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    enum class Redraw { IfChanged, Always };

    void draw(int state, Redraw redraw = Redraw::IfChanged);
    void initialise();
    QString placementCaption() const;
    void updateAccessKey();
    void updateMinimumSize();
    void updateShape();
    void mouseLeft();
    void windowActivated();
    void windowDeactivated();
    void enabledChanged();
    void accessKeyPressed();

    int m_state = 0;
    QString m_caption;
    QColor m_foreColor = Qt::black;
    bool m_focusRect = true;
    bool m_hasFocus = false;
    bool m_hover = false;
    bool m_armed = false;
    bool m_mouseHeld = false;
    bool m_spaceHeld = false;
    bool m_parentActive = false;
    bool m_isDefault = false;
    Qt::MouseButton m_lastButton = Qt::NoButton;
    QString m_accessKey;
    int m_shortcutId = 0;
};

} // namespace morvelin
