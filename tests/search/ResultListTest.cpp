// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/ResultList.h"

#include <gtest/gtest.h>

using namespace morvelin;

TEST(ResultListTest, RowsAreOrderedByScoreBestFirstAndShowNameFolderScoreAndIconKey)
{
    ResultList list;
    list.NewFile(QStringLiteral("/p/a.jpg"), 91000);
    list.NewFile(QStringLiteral("/p/b.jpg"), 78000);
    list.NewFile(QStringLiteral("/home/ann/Bilder/c.JPG"), 85500);
    list.NewFile(QStringLiteral("/p/perfect.jpg"), 100000);
    list.NewFile(QStringLiteral("/p/d.jpg"), 85500); // equal scores keep the order they came in
    list.NewFile(QStringLiteral("/p/b.jpg"), 95000); // a photo reported again: every report counts
    list.NewFile(QStringLiteral("/p/b.jpg"), 71000);
    QStringList rows;
    for (const ResultList::Row& row : list.rows()) {
        rows << QStringLiteral("%1 %2").arg(row.path).arg(row.xscore);
    }
    EXPECT_EQ(rows, (QStringList{"/p/perfect.jpg 100000", "/p/b.jpg 95000", "/p/a.jpg 91000",
                                 "/home/ann/Bilder/c.JPG 85500", "/p/d.jpg 85500"}));
    EXPECT_EQ(list.filesFound(), 7);

    const QModelIndex name = list.index(3, ResultList::FileNameColumn);
    EXPECT_EQ(name.data().toString(), QStringLiteral("c.JPG"));
    EXPECT_EQ(list.index(3, ResultList::FolderColumn).data().toString(), QStringLiteral("/home/ann/Bilder/"));
    EXPECT_EQ(list.index(3, ResultList::ScoreColumn).data().toString(), QStringLiteral("85500"));
    EXPECT_EQ(name.data(ResultList::PathRole).toString(), QStringLiteral("/home/ann/Bilder/c.JPG"));
    EXPECT_EQ(name.data(ResultList::IconKeyRole).toString(), QStringLiteral("jpg"));

    list.clear();
    EXPECT_TRUE(list.rows().empty());
    EXPECT_EQ(list.filesFound(), 0);
}
