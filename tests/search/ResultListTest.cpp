#include "search/ResultList.h"

#include <gtest/gtest.h>

using namespace morvelin;

namespace {

std::vector<std::int32_t> scores(const ResultList& list)
{
    std::vector<std::int32_t> result;
    for (const ResultList::Row& row : list.rows()) {
        result.push_back(row.xscore);
    }
    return result;
}

} // namespace

TEST(ResultListTest, RowsAreOrderedByScoreAsANumberBestFirst)
{
    ResultList list;
    list.NewFile(QStringLiteral("/p/a.jpg"), 91000);
    list.NewFile(QStringLiteral("/p/b.jpg"), 78000);
    list.NewFile(QStringLiteral("/p/c.jpg"), 85500);
    list.NewFile(QStringLiteral("/p/perfect.jpg"), 100000);
    EXPECT_EQ(scores(list), (std::vector<std::int32_t>{100000, 91000, 85500, 78000}));

    // Equal scores keep the order they were reported in.
    list.NewFile(QStringLiteral("/p/d.jpg"), 85500);
    EXPECT_EQ(list.rows()[2].path, QStringLiteral("/p/c.jpg"));
    EXPECT_EQ(list.rows()[3].path, QStringLiteral("/p/d.jpg"));
}

TEST(ResultListTest, APhotoReportedAgainKeepsItsBestScoreAndEveryReportCounts)
{
    ResultList list;
    list.NewFile(QStringLiteral("/p/group.jpg"), 72000);
    list.NewFile(QStringLiteral("/p/other.jpg"), 80000);
    list.NewFile(QStringLiteral("/p/group.jpg"), 95000);
    list.NewFile(QStringLiteral("/p/group.jpg"), 71000);
    ASSERT_EQ(list.rows().size(), 2u);
    EXPECT_EQ(list.rows()[0].path, QStringLiteral("/p/group.jpg"));
    EXPECT_EQ(list.rows()[0].xscore, 95000);
    EXPECT_EQ(list.filesFound(), 4);

    list.clear();
    EXPECT_TRUE(list.rows().empty());
    EXPECT_EQ(list.filesFound(), 0);
}

TEST(ResultListTest, ARowShowsNameFolderScoreAndIconKey)
{
    ResultList list;
    list.NewFile(QStringLiteral("/home/ann/Bilder/holiday.JPG"), 87500);
    const QModelIndex name = list.index(0, ResultList::FileNameColumn);
    EXPECT_EQ(name.data().toString(), QStringLiteral("holiday.JPG"));
    EXPECT_EQ(list.index(0, ResultList::FolderColumn).data().toString(), QStringLiteral("/home/ann/Bilder/"));
    EXPECT_EQ(list.index(0, ResultList::ScoreColumn).data().toString(), QStringLiteral("87500"));
    EXPECT_EQ(name.data(ResultList::PathRole).toString(), QStringLiteral("/home/ann/Bilder/holiday.JPG"));
    EXPECT_EQ(name.data(ResultList::IconKeyRole).toString(), QStringLiteral("jpg"));
    EXPECT_EQ(ResultList::iconKeyOf(QStringLiteral("a.J2K")), QStringLiteral("j2k"));
}
