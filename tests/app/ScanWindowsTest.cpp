// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

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
        const QList<QRect> places = ScanWindows::places(c.screen, window, c.mainWindow, {stop});
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
    EXPECT_TRUE(ScanWindows::places(QRect(0, 0, 300, 200), window, QRect(0, 0, 300, 200), {}).isEmpty());
}

// Where no window fits beside the main window, they go over it, smaller if they must, and leave its
// Stop, its caption and its scores in sight.
TEST(ScanWindowsTest, OnASmallScreenTheyShrinkRatherThanCoverWhatMustStayInSight)
{
    const QSize client(388, 280);
    const QSize frame(2, 26);
    struct Case {
        const char* name;
        QRect screen;
        QSize mainWindow; // outer, centred; its client area starts at (1, 25)
        double scale;
    };
    for (const Case& c : {Case{"1024 x 768", QRect(0, 0, 1024, 768), QSize(733, 572), 0.9},
                          Case{"1280 x 800, maximised", QRect(0, 0, 1280, 800), QSize(1280, 800), 1},
                          Case{"1600 x 1000, maximised", QRect(0, 0, 1600, 1000), QSize(1600, 1000), 1}}) {
        const QRect main(c.screen.center() - QPoint(c.mainWindow.width() / 2, c.mainWindow.height() / 2), c.mainWindow);
        const QPoint origin = main.topLeft() + QPoint(1, 25);
        const int listRight = main.width() - 30 - 1;
        const QList<QRect> kept = {QRect(origin + QPoint(107, 308), QSize(141, 41)),
                                   QRect(origin + QPoint(242, 16), QPoint(listRight + 8, 73) + origin),
                                   QRect(origin + QPoint(listRight - 90, 117), origin + QPoint(listRight + 8, main.height() - 47))};
        const ScanWindows::Arrangement arranged = ScanWindows::arrange(c.screen, client, frame, main, kept, 2);
        EXPECT_DOUBLE_EQ(arranged.scale, c.scale) << c.name;
        ASSERT_GE(arranged.places.size(), 2) << c.name;
        for (const QRect& place : arranged.places) {
            EXPECT_TRUE(c.screen.contains(place)) << c.name;
            for (const QRect& part : kept) {
                EXPECT_FALSE(place.intersects(part)) << c.name;
            }
        }
    }
}
