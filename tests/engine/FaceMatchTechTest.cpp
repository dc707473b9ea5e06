#include "engine/FaceMatchTech.h"

#include "TestCanvases.h"

#include <gtest/gtest.h>

#include <random>
#include <stdexcept>

using namespace morvelin;
using morvelin::testing::FailingCanvas;
using morvelin::testing::filled;
using morvelin::testing::grey;
using morvelin::testing::UniformCanvas;

namespace {

std::int32_t compare(const Canvas& a, const Canvas& b)
{
    return FaceMatchTech().CompareFaces(a, b);
}

// A face-sized picture of random greys, upper half dark and lower half bright like a lit chin.
PixelCanvas brightChinFace(unsigned seed)
{
    std::mt19937 generator(seed);
    std::uniform_int_distribution<int> dark(0, 100);
    std::uniform_int_distribution<int> bright(150, 255);
    PixelCanvas face(48, 48);
    for (int y = 0; y < 48; ++y) {
        for (int x = 0; x < 48; ++x) {
            face.setPixel(x, y, grey(y < 24 ? dark(generator) : bright(generator)));
        }
    }
    return face;
}

} // namespace

TEST(FaceMatchTechTest, AFaceIsNoDistanceFromItself)
{
    const PixelCanvas face = brightChinFace(1);
    EXPECT_EQ(compare(face, face), 0) << "a bright lower half must not count against the face itself";

    const PixelCanvas white = filled(48, 48, 0xFFFFFF);
    EXPECT_EQ(compare(white, filled(50, 50, 0xFFFFFF)), 0);
}

TEST(FaceMatchTechTest, TheDistanceIsSymmetric)
{
    const PixelCanvas a = brightChinFace(2);
    const PixelCanvas b = brightChinFace(3);
    const std::int32_t ab = compare(a, b);
    EXPECT_GT(ab, 0);
    EXPECT_EQ(ab, compare(b, a));
}

TEST(FaceMatchTechTest, WhiteAgainstBlackIsTheLargestDistanceEitherWay)
{
    const PixelCanvas white = filled(48, 48, 0xFFFFFF);
    const PixelCanvas black = filled(48, 48, 0x000000);
    EXPECT_EQ(compare(white, black), 357120);
    EXPECT_EQ(compare(black, white), 357120);
    EXPECT_EQ(FaceMatchTech::maxDistance, 357120);
}

TEST(FaceMatchTechTest, LevelsUpToTheFloorCountAsDark)
{
    const PixelCanvas black = filled(48, 48, 0x000000);
    EXPECT_EQ(compare(filled(48, 48, grey(100)), black), 0);
    EXPECT_EQ(compare(filled(48, 48, grey(60)), filled(48, 48, grey(100))), 0);
    EXPECT_EQ(compare(filled(48, 48, grey(101)), black), 48 * 48 * 1);
    EXPECT_EQ(compare(filled(48, 48, grey(101)), filled(48, 48, grey(200))), 48 * 48 * 99);

    // Only the upper half lit: the lower rows add nothing on either side.
    PixelCanvas upperLit(48, 48, 0x000000);
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 48; ++x) {
            upperLit.setPixel(x, y, grey(255));
        }
    }
    EXPECT_EQ(compare(upperLit, black), 48 * 24 * 155);
}

TEST(FaceMatchTechTest, ErrorsOfThePicturesReachTheCaller)
{
    const PixelCanvas black = filled(48, 48, 0x000000);
    EXPECT_THROW(compare(FailingCanvas(), black), std::runtime_error);
    EXPECT_THROW(compare(black, FailingCanvas()), std::runtime_error);
    EXPECT_THROW(compare(UniformCanvas(48 * 182, 48 * 181, 0), black), OverflowError);
}
