#include "search/FaceFilter.h"

#include "engine/FaceMatchTech.h"
#include "search/FaceCutter.h"
#include "search/FacePictureLoader.h"

#include <QDir>
#include <QPainter>

#include <gtest/gtest.h>

using namespace morvelin;

namespace {

// A colourful test card: gradients, saturated patches and sharp edges, where a filter that is not
// per-pixel would show.
QImage testCard()
{
    QImage card(400, 300, QImage::Format_RGB32);
    QPainter painter(&card);
    QLinearGradient shade(0, 0, 400, 300);
    shade.setColorAt(0, QColor(20, 10, 5));
    shade.setColorAt(0.5, QColor(200, 150, 120));
    shade.setColorAt(1, QColor(60, 90, 200));
    painter.fillRect(card.rect(), shade);
    painter.setBrush(QColor(220, 30, 30));
    painter.drawEllipse(QRect(120, 80, 90, 110));
    painter.setBrush(QColor(10, 200, 40));
    painter.drawRect(QRect(230, 60, 60, 60));
    return card;
}

int largestDifference(const QImage& a, const QImage& b)
{
    int largest = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            largest = std::max(largest, std::abs(qBlue(a.pixel(x, y)) - qBlue(b.pixel(x, y))));
        }
    }
    return largest;
}

} // namespace

TEST(FaceFilterTest, PixelsBecomeGreyLevelsAboveTheFloor)
{
    EXPECT_EQ(FaceFilter::level(0), 100);
    EXPECT_EQ(FaceFilter::level(255), 255);
    EXPECT_EQ(FaceFilter::level(128), 178);
    for (int value = 1; value < 256; ++value) {
        EXPECT_GE(FaceFilter::level(value), FaceFilter::level(value - 1));
    }

    QImage image(3, 1, QImage::Format_RGB888);
    image.setPixel(0, 0, qRgb(0, 0, 0));
    image.setPixel(1, 0, qRgb(200, 10, 10));
    image.setPixel(2, 0, qRgb(10, 10, 200));
    FaceFilter::apply(image);
    EXPECT_EQ(image.format(), QImage::Format_RGB32);
    EXPECT_EQ(image.pixel(0, 0), qRgb(100, 100, 100));
    // Grey, and read by the brightest channel: red and blue skin alike.
    const int level = FaceFilter::level(200);
    EXPECT_EQ(image.pixel(1, 0), qRgb(level, level, level));
    EXPECT_EQ(image.pixel(2, 0), qRgb(level, level, level));
}

TEST(FaceFilterTest, ADarkFaceKeepsItsFeatures)
{
    // Levels 20..60: below the floor, the comparison would see two blanks.
    QImage dark(48, 48, QImage::Format_RGB32);
    dark.fill(QColor(20, 20, 20));
    QImage darkWithEyes = dark;
    QPainter(&darkWithEyes).fillRect(QRect(10, 15, 28, 6), QColor(60, 60, 60));
    const FaceMatchTech matcher;
    EXPECT_EQ(matcher.CompareFaces(FacePictureLoader::fromImage(dark), FacePictureLoader::fromImage(darkWithEyes)), 0);
    FaceFilter::apply(dark);
    FaceFilter::apply(darkWithEyes);
    EXPECT_GT(matcher.CompareFaces(FacePictureLoader::fromImage(dark), FacePictureLoader::fromImage(darkWithEyes)), 0);
}

TEST(FaceFilterTest, FilteringBeforeOrAfterCuttingGivesTheSameFace)
{
    std::vector<QImage> photos{testCard()};
    const QImage astronaut(QDir(QStringLiteral(MORVELIN_TEST_PHOTOS)).filePath(QStringLiteral("astronaut.png")));
    if (!astronaut.isNull()) {
        photos.push_back(astronaut);
    }
    const QRect cuts[] = {QRect(100, 60, 130, 150), QRect(0, 0, 48, 48), QRect(215, 40, 97, 101), QRect(10, 10, 300, 280)};
    const FaceMatchTech matcher;
    for (const QImage& photo : photos) {
        QImage filteredPhoto = photo;
        FaceFilter::apply(filteredPhoto);
        for (const QRect& cut : cuts) {
            const QImage cutFromFiltered = FaceCutter::cut(filteredPhoto, cut.left(), cut.right() + 1, cut.top(), cut.bottom() + 1);
            QImage filteredCut = FaceCutter::cut(photo, cut.left(), cut.right() + 1, cut.top(), cut.bottom() + 1);
            FaceFilter::apply(filteredCut);
            // Scaling averages neighbours, and the brightest channel of an average is not quite the
            // average of the brightest channels: on the sharp edge between two saturated colours a
            // pixel may differ by some levels, elsewhere by a rounding step.
            EXPECT_LE(largestDifference(cutFromFiltered, filteredCut), 24);
            const int distance = matcher.CompareFaces(FacePictureLoader::fromImage(cutFromFiltered),
                                                      FacePictureLoader::fromImage(filteredCut));
            EXPECT_LE(distance, 48 * 48 / 2) << "less than half a level a cell: a score above 99.6 %";
        }
    }
}
