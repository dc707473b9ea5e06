// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "engine/FaceMatchTech.h"

#include "TestCanvases.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace morvelin;
using morvelin::testing::FailingCanvas;
using morvelin::testing::flat;
using morvelin::testing::grey;
using morvelin::testing::UniformCanvas;

namespace {

std::int32_t compare(const Canvas& a, const Canvas& b)
{
    return FaceMatchTech().CompareFaces(a, b);
}

// A face-sized picture, upper half dark and lower half bright like a lit chin; `seed` varies the levels.
PixelCanvas brightChinFace(int seed)
{
    PixelCanvas face(48, 48);
    for (int y = 0; y < 48; ++y) {
        for (int x = 0; x < 48; ++x) {
            const int noise = (x * 37 + y * 11 + seed * 53) % 101;
            face.setPixel(x, y, grey(y < 24 ? noise : 150 + noise));
        }
    }
    return face;
}

} // namespace

TEST(FaceMatchTechTest, BothPicturesAreLoweredOverAllRowsAndLevelsUpToTheFloorCountAsDark)
{
    const PixelCanvas a = brightChinFace(2);
    const PixelCanvas b = brightChinFace(3);
    EXPECT_EQ(compare(a, a), 0) << "a bright lower half must not count against the face itself";
    EXPECT_EQ(compare(flat(255), PixelCanvas(50, 50, 0xFFFFFF)), 0);
    const std::int32_t ab = compare(a, b);
    EXPECT_GT(ab, 0);
    EXPECT_EQ(ab, compare(b, a));
    EXPECT_EQ(compare(flat(255), flat(0)), 357120);

    // Levels up to the floor count as dark.
    EXPECT_EQ(compare(flat(100), flat(0)), 0);
    EXPECT_EQ(compare(flat(60), flat(100)), 0);
    EXPECT_EQ(compare(flat(101), flat(0)), 48 * 48 * 1);
    EXPECT_EQ(compare(flat(101), flat(200)), 48 * 48 * 99);
}

TEST(FaceMatchTechTest, ErrorsOfThePicturesReachTheCaller)
{
    EXPECT_THROW(compare(FailingCanvas(), flat(0)), std::runtime_error);
    EXPECT_THROW(compare(flat(0), FailingCanvas()), std::runtime_error);
    EXPECT_THROW(compare(UniformCanvas(48 * 182, 48 * 181, 0), flat(0)), OverflowError);
}
