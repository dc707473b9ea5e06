// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "app/WinMain.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include <map>

using namespace morvelin;

namespace {

// Control name to "x y width height", as failures print it.
std::map<std::string, std::string> controlPlaces(const WinMain& window)
{
    std::map<std::string, std::string> places;
    for (const QWidget* control : window.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        const QRect r = control->geometry();
        places[control->objectName().toStdString()] =
            QStringLiteral("%1 %2 %3 %4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()).toStdString();
    }
    return places;
}

} // namespace

// The layout counts the window's outer size from the first show on, not only once it was resized.
TEST(WinMainFirstShowTest, TheFirstLayoutIsTheOneAResizeBackGives)
{
    WinMain window;
    window.showFromWelcome();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QSize frame = window.frameGeometry().size() - window.size();
    const std::map<std::string, std::string> atFirstShow = controlPlaces(window);
    const QSize shown = window.size();
    const QPoint centre = QGuiApplication::primaryScreen()->availableGeometry().center();
    EXPECT_LE((window.geometry().center() - centre).manhattanLength(), frame.width() + frame.height() + 2)
        << "placed in the middle of the screen";
    // The result area ends 55 pixels above the outer bottom edge.
    EXPECT_EQ(window.findChild<QWidget*>(QStringLiteral("FileList"))->geometry().bottom() + 1,
              shown.height() + frame.height() - 55);

    window.resize(shown - QSize(40, 30));
    QTest::qWait(20);
    ASSERT_NE(controlPlaces(window), atFirstShow);
    window.resize(shown);
    QTest::qWait(20);
    EXPECT_EQ(controlPlaces(window), atFirstShow) << "frame " << frame.width() << " x " << frame.height();
}
