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

TEST(MainLayoutTest, SeveralChosenFacesShareTheColumnEachSquareAndNoLargerThanOne)
{
    MainLayout::Sizes sizes;
    const auto strip = [&sizes](int faces) {
        sizes.chosenFaces = faces;
        return at96dpi.toPixels(at96dpi.place(largestWindow, sizes).face2Search);
    };
    EXPECT_EQ(strip(1), QRect(10, 152, 48, 48));
    EXPECT_EQ(strip(2), QRect(10, 152, 96, 48));
    EXPECT_EQ(strip(5), QRect(10, 152, 230, 46)) << "five at 48 pixels are wider than the column's 230";
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

TEST(MainLayoutTest, PixelLengthsScaleWithTheScreensTwipsPerPixelAndRoundToTheNearest)
{
    // 120 dpi: 12 twips per pixel.
    const MainLayout at120dpi(12, 12);
    const MainLayout::Placement place = at120dpi.place(QSizeF(9600, 7200), MainLayout::Sizes());

    EXPECT_EQ(place.fileList, QRectF(3000, 1500, 9600 - 3000 - 360, 7200 - 600 - 1500 - 60));
    EXPECT_EQ(at120dpi.snapped(QSizeF(9600, 7212)), QSizeF(9600, 7200));
    EXPECT_EQ(at120dpi.toPixels(place.fileList), QRect(250, 125, 520, 420));
    // At 96 dpi, to the nearest pixel.
    EXPECT_EQ(at96dpi.toPixels(QRectF(3750, 1875, 7800, 6300)), QRect(250, 125, 520, 420));
    EXPECT_EQ(at96dpi.toPixels(QRectF(7, 8, 22, 23)), QRect(0, 1, 1, 2));
    EXPECT_EQ(at96dpi.toTwips(QSize(800, 600)), largestWindow);
}
