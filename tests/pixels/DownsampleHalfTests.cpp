#include <gtest/gtest.h>

#include <cstring>

#include "pixels/DownsampleHalf.h"

namespace {

TEST(DownsampleHalf, AveragesPairsInPlaceToo)
{
    uint8_t rows[2][8] = {{10, 20, 30, 41, 1, 2, 3, 4}, {255, 254, 0, 1, 9, 9, 9, 9}};
    ASSERT_TRUE(DownsampleHalf(4, 2, 2, 8, &rows[0][0], 8, &rows[0][0]));
    const uint8_t half[2][4] = {{20, 30, 2, 3}, {127, 127, 9, 9}};
    for (int r = 0; r < 2; ++r)
        EXPECT_EQ(std::memcmp(rows[r], half[r], 4), 0) << r;
    EXPECT_FALSE(DownsampleHalf(3, 1, 1, 4, &rows[0][0], 4, &rows[0][0]));
    EXPECT_FALSE(DownsampleHalf(0, 1, 1, 4, &rows[0][0], 4, &rows[0][0]));
    EXPECT_FALSE(DownsampleHalf(2, 0, 1, 4, &rows[0][0], 4, &rows[0][0]));
    EXPECT_FALSE(DownsampleHalf(2, 1, 5, 16, &rows[0][0], 16, &rows[0][0]));
}

}  // namespace
