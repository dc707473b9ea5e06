// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "app/MainLayout.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

using namespace morvelin;

namespace {

const MainLayout at96dpi(15, 15);
const QSizeF largestWindow(12000, 9000); // 800 x 600, the design's largest

QRect px96(const QRectF& twips)
{
    return at96dpi.toPixels(twips);
}

} // namespace

TEST(MainLayoutTest, AWindowOf800By600At96Dpi)
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

// From the smallest window to a maximised one on a large screen: the lists take the room, the left
// column and the header keep their places, nothing runs into anything else.
TEST(MainLayoutTest, EverySizeFromTheMinimumUpKeepsTheControlsApartAndTheListsFillTheRoom)
{
    const MainLayout::Sizes sizes;
    const QSize minimum = at96dpi.toPixels(QRectF(QPointF(0, 0), at96dpi.minimum(sizes))).size();
    EXPECT_EQ(minimum, QSize(585, 520));
    const MainLayout::Placement design = at96dpi.place(largestWindow, sizes);
    for (const QSize window : {minimum, QSize(800, 600), QSize(1024, 768), QSize(1600, 1000)}) {
        const MainLayout::Placement place = at96dpi.place(at96dpi.toTwips(window), sizes);
        const std::string at = std::to_string(window.width()) + " x " + std::to_string(window.height());
        EXPECT_EQ(px96(place.fileList), QRect(250, 125, window.width() - 280, window.height() - 180)) << at;
        EXPECT_EQ(place.searchPath, design.searchPath) << at;
        EXPECT_EQ(place.startSearch, design.startSearch) << at;
        EXPECT_EQ(place.labels3, design.labels3) << at;
        EXPECT_EQ(px96(place.link4).right(), window.width() - 21) << at;

        // Those shown together; the legal notice starts on the lists' last pixel row and the subtitle
        // tucks under the caption by design, and the status's box is taller than its lines.
        const std::vector<std::pair<const char*, QRectF>> shown = {
            {"fileList", place.fileList}, {"legalNotice", place.legalNotice}, {"searchPath", place.searchPath},
            {"labels0", place.labels0}, {"labels1", place.labels1}, {"labels3", place.labels3},
            {"scanSubDirs", place.scanSubDirs}, {"compareFeatures", place.compareFeatures},
            {"winCaption", place.winCaption}, {"winSubCaption", place.winSubCaption}, {"link4", place.link4},
            {"link8", place.link8}, {"photoLink", place.photoLink}, {"face2Search", place.face2Search},
            {"imgX", place.imgX}, {"imgX2", place.imgX2},
            {"startSearch", place.startSearch}, {"bottomLeft", place.bottomLeft}, {"image1", place.image1},
            {"imgPreview", place.imgPreview}};
        const std::set<std::pair<std::string, std::string>> touching = {
            {"fileList", "legalNotice"}, {"winCaption", "winSubCaption"}, {"labels3", "imgPreview"}};
        for (std::size_t i = 0; i < shown.size(); ++i) {
            EXPECT_TRUE(QRect(QPoint(0, 0), window).contains(px96(shown[i].second))) << shown[i].first << " " << at;
            for (std::size_t j = i + 1; j < shown.size(); ++j) {
                if (touching.count({shown[i].first, shown[j].first}) == 0) {
                    EXPECT_FALSE(px96(shown[i].second).intersects(px96(shown[j].second)))
                        << shown[i].first << " and " << shown[j].first << " at " << at;
                }
            }
        }
    }
    // Any lower and the preview would run into the Search button.
    const MainLayout::Placement smallest = at96dpi.place(at96dpi.minimum(sizes), sizes);
    EXPECT_EQ(px96(smallest.startSearch).bottom() + 1 + 4, px96(smallest.imgPreview).top());
}

TEST(MainLayoutTest, PixelLengthsScaleWithTheScreensTwipsPerPixelAndRoundToTheNearest)
{
    // 120 dpi: 12 twips per pixel.
    const MainLayout at120dpi(12, 12);
    const MainLayout::Placement place = at120dpi.place(QSizeF(9600, 7200), MainLayout::Sizes());

    EXPECT_EQ(place.fileList, QRectF(3000, 1500, 9600 - 3000 - 360, 7200 - 600 - 1500 - 60));
    EXPECT_EQ(at120dpi.toPixels(place.fileList), QRect(250, 125, 520, 420));
    // At 96 dpi, to the nearest pixel.
    EXPECT_EQ(at96dpi.toPixels(QRectF(3750, 1875, 7800, 6300)), QRect(250, 125, 520, 420));
    EXPECT_EQ(at96dpi.toPixels(QRectF(7, 8, 22, 23)), QRect(0, 1, 1, 2));
    EXPECT_EQ(at96dpi.toTwips(QSize(800, 600)), largestWindow);
}
