// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "engine/Numeric.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace morvelin;

TEST(NumericTest, HalvesGoToTheEvenNeighbourBothWays)
{
    for (const auto& [value, rounded] : {std::pair{0.5, 0.0}, {1.5, 2.0}, {-0.5, 0.0}, {-1.5, -2.0}, {-2.5, -2.0},
                                         {2.5000001, 3.0}, {-2.5000001, -3.0}}) {
        EXPECT_EQ(num::roundHalfEven(value), rounded) << value;
    }
    EXPECT_EQ(num::toInt16(24.5), 24);
    EXPECT_EQ(num::toInt32(-7.5), -8);
    EXPECT_EQ(num::toByte(254.5), 254);
}

TEST(NumericTest, ConversionsRaiseOverflowJustPastTheirRange)
{
    EXPECT_EQ(num::toInt16(32767.49), 32767);
    EXPECT_THROW(num::toInt16(32767.5), OverflowError);
    EXPECT_EQ(num::toInt16(-32768.5), -32768); // the even neighbour is still in range
    EXPECT_THROW(num::toInt16(-32768.51), OverflowError);

    EXPECT_EQ(num::toInt32(2147483647.4), 2147483647);
    EXPECT_THROW(num::toInt32(2147483647.5), OverflowError);
    EXPECT_EQ(num::toInt32(-2147483648.5), std::numeric_limits<std::int32_t>::min());

    EXPECT_THROW(num::toByte(255.5), OverflowError);
    EXPECT_EQ(num::toByte(-0.5), 0);
    EXPECT_THROW(num::toByte(-0.51), OverflowError);

    EXPECT_THROW(num::toInt16(std::nan("")), OverflowError);
    EXPECT_THROW(num::toInt32(std::numeric_limits<double>::infinity()), OverflowError);
}

TEST(NumericTest, CheckedArithmeticRaisesInsteadOfWrapping)
{
    EXPECT_EQ(num::add16(32766, 1), 32767);
    EXPECT_THROW(num::add16(32767, 1), OverflowError);
    EXPECT_EQ(num::sub16(-32767, 1), -32768);
    EXPECT_THROW(num::sub16(-32768, 1), OverflowError);
    EXPECT_EQ(num::mul16(181, 181), 32761);
    EXPECT_THROW(num::mul16(182, 181), OverflowError);
    EXPECT_THROW(num::mul16(-32768, -1), OverflowError);
    EXPECT_THROW(num::mul32(21474837, 100), OverflowError);

    EXPECT_THROW(num::divide(1.0, 0.0), DivisionByZeroError);
    EXPECT_THROW(num::divide(0.0f, 0.0f), DivisionByZeroError);
}
