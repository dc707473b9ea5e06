#include "app/Helpers.h"
#include "controls/FlatButton.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace morvelin;

// Each acquisition puts the main window on top and back; its buttons must answer the very next click.
TEST(StaysOnTopTest, TheWindowStaysActiveAndItsButtonAnswersTheNextClick)
{
    QWidget window;
    auto* button = new FlatButton(QStringLiteral("Search"), &window);
    button->setGeometry(10, 10, 100, 25);
    window.resize(200, 100);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    for (int capture = 1; capture <= 2; ++capture) {
        FormOnTop(&window);
        EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        FormNotOnTop(&window);
        EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QTest::qWait(50);
        EXPECT_TRUE(window.isVisible()) << "capture " << capture;
        EXPECT_EQ(QApplication::activeWindow(), &window) << "capture " << capture;

        QSignalSpy clicks(button, &FlatButton::Click);
        QTest::mouseMove(button, QPoint(50, 12));
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(50, 12));
        EXPECT_EQ(clicks.count(), 1) << "capture " << capture;
    }
}
