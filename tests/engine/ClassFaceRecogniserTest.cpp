// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "engine/ClassFaceRecogniser.h"

#include "TestCanvases.h"

#include <gtest/gtest.h>

using namespace morvelin;
using morvelin::testing::flat;
using morvelin::testing::grey;

namespace {

ClassFaceRecogniser prepared(const std::vector<std::pair<PixelCanvas, std::string>>& gallery)
{
    ClassFaceRecogniser recogniser;
    recogniser.init(48, 48);
    for (const auto& [face, name] : gallery) {
        recogniser.addFace(face, name);
    }
    recogniser.updateFaceTemplate();
    recogniser.updateEigenFaces();
    return recogniser;
}

} // namespace

TEST(ClassFaceRecogniserTest, NamesTheNearestFaceAndTiesGoToTheEarlierOne)
{
    PixelCanvas probe = flat(90); // left half 90, right half 230
    for (int x = 24; x < 48; ++x) {
        for (int y = 0; y < 48; ++y) {
            probe.setPixel(x, y, grey(230));
        }
    }
    ClassFaceRecogniser recogniser = prepared(
        {{flat(120), "anna"}, {flat(200), "ben"}, {flat(150), "cleo"}, {probe, "dana"}, {probe, "dana again"}});
    EXPECT_EQ(recogniser.Identify(probe), "dana0");
    ASSERT_NE(recogniser.Identity, nullptr);
    EXPECT_EQ(recogniser.Identity->getPoint(47, 0), 230);

    // 135 lowers to 35: 15 from anna's 20 and from cleo's 50 in every cell.
    EXPECT_EQ(recogniser.Identify(flat(135)), "anna34560");
    EXPECT_EQ(recogniser.Identity->getPoint(0, 0), 120);
}

TEST(ClassFaceRecogniserTest, WithNoFacesCountedNothingIsNearestAndTheLastFoundGridSurvives)
{
    ClassFaceRecogniser recogniser = prepared({{flat(200), "only"}});
    recogniser.NoOfFaces = 0;
    EXPECT_EQ(recogniser.Identify(flat(200)), "99999999");
    EXPECT_EQ(recogniser.Identity, nullptr) << "left as it was";

    recogniser.NoOfFaces = 1;
    recogniser.Identify(flat(200));
    const auto found = recogniser.Identity;
    recogniser.NoOfFaces = 0;
    recogniser.addFace(flat(10), "replacement");
    EXPECT_EQ(recogniser.Identity, found);
    EXPECT_EQ(recogniser.Identity->getPoint(0, 0), 200) << "the found grid outlives its slot";
}

TEST(ClassFaceRecogniserTest, MisuseAndAFullGalleryFailWithTheEngineErrors)
{
    ClassFaceRecogniser empty;
    empty.init(48, 48);
    EXPECT_THROW(empty.Identify(flat(100)), ObjectNotSetError);

    ClassFaceRecogniser resized = prepared({{flat(200), "small"}});
    resized.init(60, 60);
    EXPECT_THROW(resized.updateEigenFaces(), IndexOutOfRangeError) << "stored faces keep their old size";

    ClassFaceRecogniser overCounted = prepared({{flat(200), "one"}});
    overCounted.NoOfFaces = 2;
    EXPECT_THROW(overCounted.Identify(flat(200)), ObjectNotSetError) << "a count above the faces stored";
    EXPECT_THROW(overCounted.updateEigenFaces(), ObjectNotSetError);

    ClassFaceRecogniser full;
    full.init(2, 2);
    const PixelCanvas face(2, 2, grey(150));
    for (int i = 0; i < ClassFaceRecogniser::capacity; ++i) {
        full.addFace(face, "face" + std::to_string(i));
    }
    EXPECT_EQ(full.NoOfFaces, 1001);
    EXPECT_THROW(full.addFace(face, "one too many"), IndexOutOfRangeError);
}
