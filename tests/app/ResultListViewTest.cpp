// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "app/ResultListView.h"

#include <QFontMetrics>
#include <QGuiApplication>

#include <gtest/gtest.h>

using morvelin::ResultListView;

// A folder that does not fit keeps its last folders whole behind an ellipsis.
TEST(ResultListViewTest, ALongFolderLosesItsStartWholeFoldersFirst)
{
    const QFontMetrics metrics(QGuiApplication::font());
    const QString folder = QStringLiteral("/home/anna/Pictures/2024/holiday/");
    const auto widthOf = [&metrics](const char* text) { return metrics.horizontalAdvance(QString::fromUtf8(text)); };
    const struct {
        int width;
        const char* shown;
    } cases[] = {
        {widthOf("/home/anna/Pictures/2024/holiday/"), "/home/anna/Pictures/2024/holiday/"},
        {widthOf("/home/anna/Pictures/2024/holiday/") - 1, "\u2026/anna/Pictures/2024/holiday/"},
        {widthOf("\u2026/2024/holiday/") + 3, "\u2026/2024/holiday/"},
        {widthOf("\u2026/holiday/"), "\u2026/holiday/"},
        {widthOf("\u2026/hol"), "\u2026/holiday/"}, // the view cuts what even the last folder leaves over
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ResultListView::elidedFolder(folder, metrics, c.width).toStdString(), std::string(c.shown)) << c.width;
    }
    EXPECT_EQ(ResultListView::elidedFolder(QStringLiteral("/"), metrics, 1), QStringLiteral("/"));
}
