#include "controls/FlatButton.h"

#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

using morvelin::FlatButton;

// On X11 a window is activated after the click that activates it, or (without a window manager) never:
// the click itself must count, in a window that was never active as in one that lost its activation.
TEST(FlatButtonFirstClick, AnInactiveWindowsButtonAnswersTheFirstClick)
{
    QWidget other;
    QWidget window;
    window.setAttribute(Qt::WA_ShowWithoutActivating);
    auto* button = new FlatButton(QStringLiteral("Stop"), &window);
    button->setGeometry(10, 10, 100, 25);
    other.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    for (const char* when : {"never active", "deactivated"}) {
        QSignalSpy clicks(button, &FlatButton::Click);
        QTest::mouseMove(window.windowHandle(), QPoint(60, 22));
        QTest::mousePress(window.windowHandle(), Qt::LeftButton, {}, QPoint(60, 22));
        QTest::mouseRelease(window.windowHandle(), Qt::LeftButton, {}, QPoint(60, 22));
        EXPECT_EQ(clicks.count(), 1) << when;
        QEvent deactivate(QEvent::WindowDeactivate);
        QCoreApplication::sendEvent(&window, &deactivate);
    }
}
