// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/FaceFilter.h"

#include "engine/FaceMatchTech.h"
#include "search/FacePictureLoader.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>

using namespace morvelin;

namespace {

QImage shadedFace()
{
    QImage face(48, 48, QImage::Format_RGB32);
    QPainter painter(&face);
    QLinearGradient shade(0, 0, 48, 48);
    shade.setColorAt(0, QColor(40, 30, 20));
    shade.setColorAt(1, QColor(230, 190, 160));
    painter.fillRect(face.rect(), shade);
    painter.fillRect(QRect(10, 15, 28, 6), QColor(20, 10, 10));
    return face;
}

// The same picture under another gain and gamma, as a screen or another camera shows it.
QImage regraded(const QImage& image, double gain, double gamma)
{
    QImage result = image;
    for (int y = 0; y < result.height(); ++y) {
        for (int x = 0; x < result.width(); ++x) {
            const QRgb c = result.pixel(x, y);
            const auto change = [&](int v) { return std::clamp(int(255 * gain * std::pow(v / 255.0, gamma)), 0, 255); };
            result.setPixel(x, y, qRgb(change(qRed(c)), change(qGreen(c)), change(qBlue(c))));
        }
    }
    return result;
}

} // namespace

TEST(FaceFilterTest, LevelsAreSpreadByRankSoBrightnessAndGammaDoNotCount)
{
    QImage four(4, 1, QImage::Format_RGB888);
    for (int x = 0; x < 4; ++x) {
        four.setPixel(x, 0, qRgb(100 + 10 * x, 100 + 10 * x, 100 + 10 * x));
    }
    FaceFilter::apply(four);
    EXPECT_EQ(four.format(), QImage::Format_RGB32);
    EXPECT_EQ(four.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(four.pixel(1, 0), qRgb(85, 85, 85));
    EXPECT_EQ(four.pixel(3, 0), qRgb(255, 255, 255));

    const FaceMatchTech matcher;
    QImage face = shadedFace();
    FaceFilter::apply(face);
    EXPECT_TRUE(face.allGray());
    for (const auto& [gain, gamma] : {std::pair(0.85, 1.15), std::pair(1.15, 0.85), std::pair(0.5, 1.0)}) {
        QImage other = regraded(shadedFace(), gain, gamma);
        FaceFilter::apply(other);
        EXPECT_LE(matcher.CompareFaces(FacePictureLoader::fromImage(face), FacePictureLoader::fromImage(other)), 48 * 48 * 8)
            << gain << " " << gamma;
    }

    QImage none;
    FaceFilter::apply(none);
    EXPECT_TRUE(none.isNull());
    QImage flat(4, 4, QImage::Format_RGB32);
    flat.fill(QColor(150, 150, 150));
    FaceFilter::apply(flat);
    EXPECT_EQ(flat.pixel(1, 1), qRgb(150, 150, 150));
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

TEST(FaceFilterTest, TheSecondFilterStretchesTheFilteredFaceForShowing)
{
    QImage face(2, 1, QImage::Format_RGB32);
    face.setPixel(0, 0, qRgb(120, 120, 120));
    face.setPixel(1, 0, qRgb(200, 200, 200));
    FaceFilter::applySecond(face);
    EXPECT_EQ(face.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(face.pixel(1, 0), qRgb(216, 242, 255));

    QImage flat(4, 4, QImage::Format_RGB32);
    flat.fill(QColor(150, 150, 150));
    FaceFilter::applySecond(flat);
    EXPECT_EQ(flat.pixel(2, 2), qRgb(0, 0, 0));
}
