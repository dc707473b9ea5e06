// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "controls/ButtonPainter.h"
#include "controls/FlatButton.h"

#include <QAccessible>
#include <QApplication>
#include <QCursor>
#include <QImage>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

using morvelin::ButtonPainter;
using morvelin::FlatButton;

namespace {

constexpr int W = 115;
constexpr int H = 25;

// A window with the button under test and a second button to take the focus away.
class FlatButtonTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_window.resize(300, 80);
        m_button = new FlatButton(QStringLiteral("&Search"), &m_window);
        m_button->setGeometry(20, 20, W, H);
        m_other = new FlatButton(QStringLiteral("&Other"), &m_window);
        m_other->setGeometry(160, 20, W, H);
        m_window.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_window));
        m_other->setFocus();
        // Qt drops a move to where the pointer already is, and the last test may have left it on the button.
        QCursor::setPos(m_window.mapToGlobal(QPoint(5, 5)));
        QTest::mouseMove(m_window.windowHandle(), QPoint(5, 5));
        QCoreApplication::processEvents();
    }

    QPoint inWindow(QPoint p) const { return m_button->mapTo(&m_window, p); }
    void moveTo(QPoint p) { QTest::mouseMove(m_window.windowHandle(), inWindow(p)); }
    void press(QPoint p, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mousePress(m_window.windowHandle(), button, {}, inWindow(p));
    }
    void release(QPoint p, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseRelease(m_window.windowHandle(), button, {}, inWindow(p));
    }
    // Straight to the button, as the window system's events reach it with no move before them.
    void send(QEvent::Type type, QPoint p = {W / 2, H / 2})
    {
        if (type == QEvent::Enter) {
            QEnterEvent enter(p, inWindow(p), m_button->mapToGlobal(p));
            QCoreApplication::sendEvent(m_button, &enter);
            return;
        }
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, p, inWindow(p), m_button->mapToGlobal(p), Qt::LeftButton, held, Qt::NoModifier);
        QCoreApplication::sendEvent(m_button, &event);
    }
    void key(QEvent::Type type, int key, bool autoRepeat = false)
    {
        QKeyEvent event(type, key, Qt::NoModifier, key == Qt::Key_Space ? QStringLiteral(" ") : QString(),
                        autoRepeat);
        QCoreApplication::sendEvent(m_button, &event);
    }

    QWidget m_window;
    FlatButton* m_button = nullptr;
    FlatButton* m_other = nullptr;
    const QPoint m_inside{W / 2, H / 2};
    const QPoint m_outside{W + 20, H / 2};
};

TEST_F(FlatButtonTest, TheStateFollowsFocusMouseAndEnablingAndEachLooksItsOwn)
{
    QList<QImage> looks;
    EXPECT_EQ(m_button->state(), ButtonPainter::Normal);
    looks << m_button->grab().toImage();
    m_button->setDisplayAsDefault(true);
    EXPECT_EQ(m_button->state(), ButtonPainter::Focused) << "a default button draws focused";
    looks << m_button->grab().toImage();
    m_button->setDisplayAsDefault(false);
    m_button->setFocus();
    EXPECT_EQ(m_button->state(), ButtonPainter::Focused);
    looks << m_button->grab().toImage();
    moveTo(m_inside);
    EXPECT_EQ(m_button->state(), ButtonPainter::Hot);
    looks << m_button->grab().toImage();
    press(m_inside);
    EXPECT_EQ(m_button->state(), ButtonPainter::Pressed);
    looks << m_button->grab().toImage();
    release(m_inside);

    // Disabled while hovered, and hot again when enabled under the mouse.
    m_button->setEnabled(false);
    EXPECT_EQ(m_button->state(), ButtonPainter::Disabled);
    looks << m_button->grab().toImage();
    m_button->setEnabled(true);
    EXPECT_EQ(m_button->state(), ButtonPainter::Hot);
    for (int i = 0; i < looks.size(); ++i) {
        for (int j = i + 1; j < looks.size(); ++j) {
            EXPECT_NE(looks[i], looks[j]) << "looks " << i << " and " << j;
        }
    }

    // The focus mark stands out from the face it lies on, in the default button's look.
    const QColor unfocused = looks[1].pixelColor(4, H / 2);
    const QColor focused = looks[2].pixelColor(4, H / 2);
    EXPECT_GT(qGray(unfocused.rgb()) - qGray(focused.rgb()), 100);
    m_button->setFocus(); // disabling took it
    m_button->setFocusRect(false);
    moveTo(m_outside);
    EXPECT_EQ(m_button->grab().toImage(), looks[1]) << "without its mark the focus looks like the default";
}

// Qt's button rules: a press and a release over the button are a click, whatever the pointer did before.
TEST_F(FlatButtonTest, APressAndAReleaseOverTheButtonAreOneClickWhateverThePointerDidBefore)
{
    QSignalSpy clicks(m_button, &FlatButton::Click);
    moveTo(m_inside);
    press(m_inside);
    release(m_inside);
    EXPECT_EQ(clicks.count(), 1) << "moved in, pressed and released";

    moveTo(m_outside);
    send(QEvent::Enter);
    EXPECT_EQ(m_button->state(), ButtonPainter::Hot) << "an enter without a move is hover";
    send(QEvent::MouseButtonPress);
    send(QEvent::MouseButtonRelease);
    EXPECT_EQ(clicks.count(), 2) << "entered without a move";
    send(QEvent::Leave);
    send(QEvent::MouseButtonPress);
    send(QEvent::MouseButtonRelease);
    EXPECT_EQ(clicks.count(), 3) << "neither entered nor moved: the press shows where the pointer is";
    EXPECT_EQ(m_button->state(), ButtonPainter::Hot);

    moveTo(m_outside);
    press(m_outside);
    moveTo(m_inside);
    release(m_inside);
    EXPECT_EQ(clicks.count(), 3) << "pressed outside, released inside";

    moveTo(m_inside);
    press(m_inside);
    moveTo(m_outside);
    EXPECT_EQ(m_button->state(), ButtonPainter::Focused) << "pressed and dragged off";
    release(m_outside);
    send(QEvent::MouseButtonPress);
    send(QEvent::MouseButtonRelease, m_outside);
    EXPECT_EQ(clicks.count(), 3) << "pressed inside, released outside";

    moveTo(m_inside);
    press(m_inside, Qt::RightButton);
    release(m_inside, Qt::RightButton);
    EXPECT_EQ(clicks.count(), 3) << "the right button";
    QTest::mouseDClick(m_window.windowHandle(), Qt::LeftButton, {}, inWindow(m_inside));
    EXPECT_EQ(clicks.count(), 5) << "a double click is two clicks";
}

// Search hides itself and Stop takes its place: the pointer has not moved, and the next click is Stop's.
TEST_F(FlatButtonTest, AButtonShownUnderAStillPointerTakesTheNextClick)
{
    auto* stop = new FlatButton(QStringLiteral("Stop"), &m_window);
    stop->setGeometry(m_button->geometry());
    stop->hide();
    QObject::connect(m_button, &FlatButton::Click, [&] {
        m_button->hide();
        stop->show();
    });
    QSignalSpy stops(stop, &FlatButton::Click);
    QCursor::setPos(m_button->mapToGlobal(m_inside));
    QTRY_COMPARE(m_button->state(), ButtonPainter::Hot);
    press(m_inside);
    release(m_inside);
    ASSERT_TRUE(stop->isVisible());
    EXPECT_EQ(stop->state(), ButtonPainter::Hot) << "Qt tells the button the pointer is over it";
    press(m_inside);
    release(m_inside);
    EXPECT_EQ(stops.count(), 1);
    stop->hide();
    m_button->show();
    EXPECT_EQ(m_button->state(), ButtonPainter::Hot) << "the hidden button forgot its hover, then got it again";
}

// On X11 a window is activated after the click that activates it, or (without a window manager) never:
// the click itself must count. An inactive window shows no focus, nor a default button.
TEST_F(FlatButtonTest, AnInactiveWindowsButtonAnswersTheFirstClickAndShowsNoFocus)
{
    m_button->setFocus();
    m_button->setDisplayAsDefault(true);
    QWidget window;
    window.resize(100, 50);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    ASSERT_FALSE(m_window.isActiveWindow());
    EXPECT_EQ(m_button->state(), ButtonPainter::Normal);

    QSignalSpy clicks(m_button, &FlatButton::Click);
    moveTo(m_inside);
    EXPECT_EQ(m_button->state(), ButtonPainter::Hot) << "a click would count, so it shows";
    press(m_inside);
    release(m_inside);
    EXPECT_EQ(clicks.count(), 1);
}

// A tooltip shown over a button lets the button's click through.
TEST_F(FlatButtonTest, TooltipsLetClicksThrough)
{
    QToolTip::showText(m_button->mapToGlobal(QPoint(0, 0)), QStringLiteral("Over the button"), m_button);
    const auto transparentTip = [] {
        for (const QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->windowType() == Qt::ToolTip && widget->isVisible() && widget->windowHandle()
                && widget->windowHandle()->flags().testFlag(Qt::WindowTransparentForInput)) {
                return true;
            }
        }
        return false;
    };
    QTRY_VERIFY(transparentTip());
    QToolTip::hideText();
}

TEST_F(FlatButtonTest, SpaceHeldAndReleasedRaisesExactlyOneClickReturnOneOnKeyDownAndArrowsMoveTheFocus)
{
    QSignalSpy clicks(m_button, &FlatButton::Click);
    m_button->setFocus();
    key(QEvent::KeyPress, Qt::Key_Space);
    EXPECT_EQ(m_button->state(), ButtonPainter::Pressed);
    // A held key repeats as release and press pairs.
    for (int i = 0; i < 3; ++i) {
        key(QEvent::KeyRelease, Qt::Key_Space, true);
        key(QEvent::KeyPress, Qt::Key_Space, true);
    }
    EXPECT_EQ(clicks.count(), 0);
    key(QEvent::KeyRelease, Qt::Key_Space);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(m_button->state(), ButtonPainter::Focused);

    key(QEvent::KeyPress, Qt::Key_Return);
    EXPECT_EQ(clicks.count(), 2);
    key(QEvent::KeyPress, Qt::Key_Return, true);
    key(QEvent::KeyRelease, Qt::Key_Return);
    EXPECT_EQ(clicks.count(), 2) << "a held Return clicks once";
    QTest::keyClick(m_button, Qt::Key_Right);
    EXPECT_TRUE(m_other->hasFocus());
    QTest::keyClick(m_other, Qt::Key_Up);
    EXPECT_TRUE(m_button->hasFocus());
}

// What a screen reader is told: a push button named by its caption, and its state. The access key
// follows the caption and skips doubled ampersands.
TEST_F(FlatButtonTest, TheCaptionNamesTheButtonForScreenReadersAndGivesItsAccessKey)
{
    QSignalSpy clicks(m_button, &FlatButton::Click);
    QAccessibleInterface* button = QAccessible::queryAccessibleInterface(m_button);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->role(), QAccessible::PushButton);
    EXPECT_EQ(button->text(QAccessible::Name), QStringLiteral("Search"));
    m_button->setCaption(QStringLiteral("Save && &Exit"));
    EXPECT_EQ(button->text(QAccessible::Name), QStringLiteral("Save & Exit"));

    EXPECT_FALSE(button->state().focused);
    m_button->setFocus();
    EXPECT_TRUE(button->state().focused);
    key(QEvent::KeyPress, Qt::Key_Space);
    EXPECT_TRUE(button->state().pressed);
    key(QEvent::KeyRelease, Qt::Key_Space);
    EXPECT_FALSE(button->state().pressed);
    EXPECT_EQ(clicks.count(), 1);
    QTest::keyClick(&m_window, Qt::Key_E, Qt::AltModifier);
    QTRY_COMPARE(clicks.count(), 2);
    QTest::keyClick(&m_window, Qt::Key_S, Qt::AltModifier); // the old key is released
    QTest::qWait(200);
    EXPECT_EQ(clicks.count(), 2);
    m_button->setEnabled(false);
    EXPECT_TRUE(button->state().disabled);
    QTest::keyClick(&m_window, Qt::Key_E, Qt::AltModifier);
    QTest::qWait(200);
    EXPECT_EQ(clicks.count(), 2) << "a disabled button's access key does nothing";
    m_button->setEnabled(true);

    // Its press is a click.
    ASSERT_NE(button->actionInterface(), nullptr);
    button->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QTRY_COMPARE(clicks.count(), 3);
}

TEST_F(FlatButtonTest, KeepsAtLeastHundredTwips)
{
    m_button->resize(2, 3);
    const int least = (100 * m_button->logicalDpiY() + 1439) / 1440;
    EXPECT_GE(std::min(m_button->height(), m_button->width()), least);
}

} // namespace
