#include "controls/ButtonPainter.h"
#include "controls/FlatButton.h"

#include <QCursor>
#include <QImage>
#include <QSignalSpy>
#include <QTest>
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
        QTest::mouseMove(m_window.windowHandle(), QPoint(5, 5));
        QCoreApplication::processEvents();
    }

    QPoint inWindow(QPoint p) const { return m_button->mapTo(&m_window, p); }
    void moveTo(QPoint p) { QTest::mouseMove(m_window.windowHandle(), inWindow(p)); }
    void press(QPoint p) { QTest::mousePress(m_window.windowHandle(), Qt::LeftButton, {}, inWindow(p)); }
    void release(QPoint p) { QTest::mouseRelease(m_window.windowHandle(), Qt::LeftButton, {}, inWindow(p)); }
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
            EXPECT_NE(looks[i], looks[j]) << "states " << i << " and " << j;
        }
    }
}

TEST_F(FlatButtonTest, PressLeaveReleaseRaisesNoClick)
{
    QSignalSpy clicks(m_button, &FlatButton::Click);
    moveTo(m_inside);
    moveTo(m_outside);
    EXPECT_EQ(m_button->state(), ButtonPainter::Normal) << "leaving without focus";
    moveTo(m_inside);
    press(m_inside);
    moveTo(m_outside);
    EXPECT_EQ(m_button->state(), ButtonPainter::Focused);
    release(m_outside);
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_EQ(m_button->state(), ButtonPainter::Focused);

    // Back in and released over the button it is a click.
    moveTo(m_inside);
    press(m_inside);
    release(m_inside);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(m_button->state(), ButtonPainter::Hot);

    QSignalSpy doubleClicks(m_button, &FlatButton::DblClick);
    QTest::mouseDClick(m_window.windowHandle(), Qt::LeftButton, {}, inWindow(m_inside));
    EXPECT_EQ(clicks.count(), 2);
    EXPECT_EQ(doubleClicks.count(), 1);
}

TEST_F(FlatButtonTest, SpaceHeldAndReleasedRaisesExactlyOneClick)
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

    // Space is ignored while the mouse holds the button.
    moveTo(m_inside);
    press(m_inside);
    key(QEvent::KeyPress, Qt::Key_Space);
    key(QEvent::KeyRelease, Qt::Key_Space);
    EXPECT_EQ(clicks.count(), 1);
    release(m_inside);
    EXPECT_EQ(clicks.count(), 2);
}

TEST_F(FlatButtonTest, EnterClicksOnKeyDownAndArrowsMoveTheFocus)
{
    QSignalSpy clicks(m_button, &FlatButton::Click);
    m_button->setFocus();
    QTest::keyPress(m_button, Qt::Key_Return);
    EXPECT_EQ(clicks.count(), 1);
    QTest::keyRelease(m_button, Qt::Key_Return);

    QTest::keyClick(m_button, Qt::Key_Right);
    EXPECT_TRUE(m_other->hasFocus());
    EXPECT_EQ(m_button->state(), ButtonPainter::Normal);
    QTest::keyClick(m_other, Qt::Key_Up);
    EXPECT_TRUE(m_button->hasFocus());
}

TEST_F(FlatButtonTest, AccessKeySkipsDoubledAmpersandsClicksAndFollowsTheCaption)
{
    EXPECT_EQ(FlatButton::accessKeyOf(QStringLiteral("Rock &&& Roll")), QStringLiteral(" "));
    EXPECT_EQ(FlatButton::accessKeyOf(QStringLiteral("Go&")), QString());
    EXPECT_EQ(FlatButton::accessKeyOf(QStringLiteral("A && B")), QString());

    QSignalSpy clicks(m_button, &FlatButton::Click);
    m_button->setCaption(QStringLiteral("Save && &Exit"));
    EXPECT_EQ(m_button->accessKey(), QStringLiteral("e"));
    QTest::keyClick(&m_window, Qt::Key_E, Qt::AltModifier);
    EXPECT_EQ(clicks.count(), 1);
    QTest::keyClick(&m_window, Qt::Key_S, Qt::AltModifier); // the old key is released
    EXPECT_EQ(clicks.count(), 1);

    m_button->setEnabled(false);
    QTest::keyClick(&m_window, Qt::Key_E, Qt::AltModifier);
    EXPECT_EQ(clicks.count(), 1);
}

TEST_F(FlatButtonTest, WindowActivationFollowsTheParentWindow)
{
    QSignalSpy activations(m_button, &FlatButton::FormActivate);
    m_button->setFocus();
    ASSERT_EQ(m_button->state(), ButtonPainter::Focused);

    QEvent deactivate(QEvent::WindowDeactivate);
    QCoreApplication::sendEvent(&m_window, &deactivate);
    EXPECT_EQ(m_button->state(), ButtonPainter::Normal);
    // An inactive window's button does not light up under the mouse.
    moveTo(m_inside);
    EXPECT_EQ(m_button->state(), ButtonPainter::Normal);

    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(&m_window, &activate);
    EXPECT_EQ(m_button->state(), ButtonPainter::Hot);
    ASSERT_EQ(activations.count(), 2);
    EXPECT_EQ(activations[0][0].toInt(), 0);
    EXPECT_EQ(activations[1][0].toInt(), 1);
}

TEST_F(FlatButtonTest, KeepsAtLeastHundredTwipsAndSnapsTheMouseToItsMiddle)
{
    m_button->resize(2, 3);
    const int least = (100 * m_button->logicalDpiY() + 1439) / 1440;
    EXPECT_GE(m_button->height(), least);
    EXPECT_GE(m_button->width(), least);

    m_button->resize(W, H);
    m_button->SnapMouseTo();
    // 57.5 and 12.5 round to the even neighbour.
    EXPECT_EQ(QCursor::pos(), m_button->mapToGlobal(QPoint(58, 12)));
}

} // namespace
