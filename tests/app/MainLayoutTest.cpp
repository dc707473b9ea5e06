#include "app/MainLayout.h"

#include <gtest/gtest.h>

using namespace morvelin;

namespace {

const MainLayout at96dpi(15, 15);
const QSizeF largestWindow(12000, 9000);

} // namespace

TEST(MainLayoutTest, TheLargestWindowAt96Dpi)
{
    const MainLayout::Placement place = at96dpi.place(largestWindow, MainLayout::Sizes());

    EXPECT_EQ(place.fileList, QRectF(3750, 1875, 7800, 6300));
    EXPECT_EQ(place.imageList, place.fileList);
    EXPECT_EQ(place.searchPath.left(), 150);
    EXPECT_EQ(place.searchPath.width(), 3450);
    EXPECT_EQ(place.startSearch.width(), 1875);
    EXPECT_EQ(place.startSearch.right(), 3600);
    EXPECT_EQ(place.stopSearch, place.startSearch);
    // The legal notice starts one pixel above the bottom edge of the lists.
    EXPECT_EQ(place.legalNotice.top(), 1875 + 6300 - 15);
    EXPECT_EQ(place.legalNotice.left(), 3750);
    EXPECT_EQ(place.legalNotice.width(), 7800);
}

TEST(MainLayoutTest, LeftColumnHangsOffThePicker)
{
    const MainLayout::Placement place = at96dpi.place(largestWindow, MainLayout::Sizes());

    for (const QRectF& label : {place.labels1, place.labels2, place.labels3, place.scanSubDirs}) {
        EXPECT_EQ(label.left(), place.searchPath.left());
    }
    EXPECT_EQ(place.labels1.width(), place.searchPath.width());
    EXPECT_EQ(place.face2Search, QRectF(150, 2280, 720, 720));
    EXPECT_EQ(place.imgX, QRectF(870, 2280, 720, 720));
    EXPECT_EQ(place.imgX2, QRectF(1590, 2280, 720, 720));
    EXPECT_EQ(place.winCaption.left(), place.fileList.left());
    EXPECT_EQ(place.winSubCaption.left(), place.fileList.left());
    // Nothing in the column overlaps the next thing down.
    EXPECT_LE(place.labels1.bottom(), place.searchPath.top());
    EXPECT_LE(place.searchPath.bottom(), place.scanSubDirs.top());
    EXPECT_LE(place.scanSubDirs.bottom(), place.startSearch.top());
    EXPECT_LE(place.startSearch.bottom(), place.labels3.top());
}

TEST(MainLayoutTest, LinksPreviewButtonAndCornerFollowTheWindowEdges)
{
    MainLayout::Sizes sizes;
    sizes.link4Width = 600;
    sizes.link8Width = 1500;
    sizes.preview = QSizeF(1725, 1200);
    sizes.chooseImageFileHeight = 450;
    sizes.bottomLeftHeight = 360;
    const MainLayout::Placement place = at96dpi.place(QSizeF(10000, 8000), sizes);

    EXPECT_EQ(place.link4, QRectF(10000 - 600 - 300, 120, 600, 210));
    EXPECT_EQ(place.link8.left(), place.link4.left() - 1500 - 300);
    EXPECT_EQ(place.imgPreview, QRectF(150 + (3450 - 1725) / 2.0, 8000 - 1200 - 900, 1725, 1200));
    EXPECT_EQ(place.bottomLeft.left(), 75);
    EXPECT_EQ(place.bottomLeft.top(), 8000 - 360 - 525);
    const QRectF& gallery = place.imageList;
    EXPECT_DOUBLE_EQ(place.chooseImageFile.width(), gallery.width() / 3 * 2);
    EXPECT_DOUBLE_EQ(place.chooseImageFile.center().x(), gallery.center().x());
    EXPECT_DOUBLE_EQ(place.chooseImageFile.center().y(), gallery.center().y());
}

TEST(MainLayoutTest, TooHighSnapsTheHeightFirstThenTooWideTheWidth)
{
    EXPECT_FALSE(at96dpi.snapped(largestWindow).has_value());
    EXPECT_FALSE(at96dpi.snapped(QSizeF(3000, 2000)).has_value());

    const std::optional<QSizeF> tooHigh = at96dpi.snapped(QSizeF(15000, 9015));
    ASSERT_TRUE(tooHigh.has_value());
    EXPECT_EQ(*tooHigh, QSizeF(15000, 9000)) << "one rule per resize: the width waits for the next";
    const std::optional<QSizeF> tooWide = at96dpi.snapped(*tooHigh);
    ASSERT_TRUE(tooWide.has_value());
    EXPECT_EQ(*tooWide, QSizeF(12000, 9000));
    EXPECT_FALSE(at96dpi.snapped(*tooWide).has_value());
}

TEST(MainLayoutTest, PixelLengthsScaleWithTheScreensTwipsPerPixel)
{
    // 120 dpi: 12 twips per pixel.
    const MainLayout at120dpi(12, 12);
    const MainLayout::Placement place = at120dpi.place(QSizeF(9600, 7200), MainLayout::Sizes());

    EXPECT_EQ(place.fileList, QRectF(3000, 1500, 9600 - 3000 - 360, 7200 - 600 - 1500 - 60));
    EXPECT_EQ(at120dpi.snapped(QSizeF(9600, 7212)), QSizeF(9600, 7200));
    EXPECT_EQ(at120dpi.toPixels(place.fileList), QRect(250, 125, 520, 420));
}

TEST(MainLayoutTest, TwipsToPixelsRoundToTheNearestPixel)
{
    EXPECT_EQ(at96dpi.toPixels(QRectF(3750, 1875, 7800, 6300)), QRect(250, 125, 520, 420));
    EXPECT_EQ(at96dpi.toPixels(QRectF(7, 8, 22, 23)), QRect(0, 1, 1, 2));
    EXPECT_EQ(at96dpi.toTwips(QSize(800, 600)), largestWindow);
}
