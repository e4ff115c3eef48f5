#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "player/engine/PVBitReader.h"

namespace {

// The same fields read where whole words may be loaded and where none may
// (as at the end of a movie's image) come out alike, up to and past the
// bound.
TEST(BitReader, WordLoadsAndTheNearEndPathReadAlike)
{
    std::vector<uint8_t> bytes(40);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(i * 73 + 41);
    const int widths[] = {0, 1, 5, 32, 7, 17, 31, 3, 32, 2, 12, 9, 32, 32, 6};
    for (uint32_t start = 0; start < 16; ++start) {
        for (uint32_t bound : {20u, 33u, 40u}) {
            PVBitReader loading(bytes.data(), start, bound, static_cast<uint32_t>(bytes.size()));
            PVBitReader nearEnd(bytes.data(), start, bound, 0);
            for (int n : widths) {
                const bool signedField = n % 2 == 1;
                const int32_t a = signedField ? loading.SBits(n) : static_cast<int32_t>(loading.UBits(n));
                const int32_t b = signedField ? nearEnd.SBits(n) : static_cast<int32_t>(nearEnd.UBits(n));
                ASSERT_EQ(a, b) << "start " << start << " bound " << bound << " width " << n;
                ASSERT_EQ(loading.Bit(), nearEnd.Bit());
                ASSERT_EQ(loading.Overrun(), nearEnd.Overrun());
            }
        }
    }
}

TEST(BitReader, FieldsPastTheBoundReadTheirZerosAndMarkIt)
{
    const uint8_t bytes[16] = {0xFF, 0xFF, 0xFF, 0xFF};
    PVBitReader bits(bytes, 4, 2, sizeof bytes);  // 12 bits before the bound
    EXPECT_EQ(bits.UBits(8), 0xFFu);
    EXPECT_FALSE(bits.Overrun());
    EXPECT_EQ(bits.UBits(8), 0xF0u);  // 4 bits of the field lie past the bound
    EXPECT_TRUE(bits.Overrun());
    EXPECT_EQ(bits.SBits(5), 0);
}

}  // namespace
