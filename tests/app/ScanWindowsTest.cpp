#include "app/ScanWindows.h"

#include <gtest/gtest.h>

using morvelin::ScanWindows;

// Scan windows stand where a person can watch them and still reach the main window's Stop.
TEST(ScanWindowsTest, PlacesStayOnTheScreenApartAndOffTheStopButton)
{
    const QSize window(392, 305);
    struct Case {
        const char* name;
        QRect screen;
        QRect mainWindow;
        int besideMainWindow; // the first places, clear of the main window
        int atLeast;
    };
    for (const Case& c : {Case{"wide screen", QRect(0, 0, 1920, 1080), QRect(594, 255, 733, 572), 6, 6},
                          Case{"small screen", QRect(0, 0, 1280, 800), QRect(274, 128, 733, 572), 0, 2},
                          Case{"desktop with a panel", QRect(0, 26, 1280, 774), QRect(0, 26, 733, 572), 2, 2}}) {
        // The Stop button sits in the main window's left column.
        const QRect stop(c.mainWindow.topLeft() + QPoint(107, 300), QSize(141, 41));
        const QList<QRect> places = ScanWindows::places(c.screen, window, c.mainWindow, stop);
        ASSERT_GE(places.size(), c.atLeast) << c.name;
        for (qsizetype i = 0; i < places.size(); ++i) {
            EXPECT_EQ(places[i].size(), window) << c.name;
            EXPECT_TRUE(c.screen.contains(places[i])) << c.name << " " << i;
            EXPECT_FALSE(places[i].intersects(stop)) << c.name << " " << i;
            EXPECT_EQ(places[i].intersects(c.mainWindow), i >= c.besideMainWindow) << c.name << " " << i;
            for (qsizetype j = 0; j < i; ++j) {
                EXPECT_FALSE(places[i].intersects(places[j])) << c.name << " " << i << " " << j;
            }
        }
    }
    EXPECT_TRUE(ScanWindows::places(QRect(0, 0, 300, 200), window, QRect(0, 0, 300, 200), QRect()).isEmpty());
}
