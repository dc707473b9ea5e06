#include "engine/BoundedArray2D.h"

#include <gtest/gtest.h>

using namespace morvelin;

TEST(BoundedArray2DTest, UpperBoundsAreInclusiveAndEveryAccessIsChecked)
{
    BoundedArray2D<int> cells(3, 2);
    cells.set(3, 2, 7);
    EXPECT_EQ(cells.get(3, 2), 7);
    EXPECT_THROW(cells.get(4, 0), IndexOutOfRangeError);
    EXPECT_THROW(cells.get(0, 3), IndexOutOfRangeError);
    EXPECT_THROW(cells.set(-1, 0, 1), IndexOutOfRangeError);
    EXPECT_THROW(BoundedArray2D<bool>().get(0, 0), IndexOutOfRangeError);

    // Cells must not alias across rows: (3, 0) and (0, 1) are different cells.
    cells.set(3, 0, 1);
    EXPECT_EQ(cells.get(0, 1), 0);
}
