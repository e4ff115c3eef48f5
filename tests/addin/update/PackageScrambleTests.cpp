// The package block routine against blocks the oracle scrambled, and against
// the fixture scrambler of our own.
#include "RecordFixtures.h"
#include "fixtures/PackageScrambler.h"

#include "addin/update/PackageKeyTable.h"
#include "addin/update/ScramblePackageBlock.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

struct Block {
    uint32_t key;
    Bytes plain;
    Bytes stored;
};

std::vector<Block> OracleBlocks()
{
    std::vector<Block> blocks;
    for (const std::string& line : ReadFixtureLines(L"package_blocks.txt")) {
        std::istringstream fields(line);
        std::string key, length, plain, stored;
        fields >> key >> length >> plain >> stored;
        blocks.push_back({static_cast<uint32_t>(std::stoul(key, nullptr, 16)), FromHex(plain), FromHex(stored)});
    }
    return blocks;
}

Bytes Descrambled(Bytes bytes, uint32_t key)
{
    ScramblePackageBlock(bytes.data(), static_cast<int>(bytes.size()), key);
    return bytes;
}

}  // namespace

TEST(PackageKeyTableTest, HoldsSixtyFourKilobytesOfWords)
{
    EXPECT_EQ(PackageKeyTable::Size(), 0x10000);
    ASSERT_NE(PackageKeyTable::Data(), nullptr);
    // The oracle's table starts with these words (update_records.py).
    EXPECT_EQ(PackageKeyTable::Data()[0], 0x8C1763E3u);
}

TEST(ScramblePackageBlockTest, UndoesWhatTheOracleScrambled)
{
    std::vector<Block> blocks = OracleBlocks();
    ASSERT_EQ(blocks.size(), 48u);
    for (const Block& block : blocks) {
        SCOPED_TRACE(testing::Message() << "key " << std::hex << block.key << std::dec << " length "
                                        << block.plain.size());
        EXPECT_EQ(Descrambled(block.stored, block.key), block.plain);
    }
}

TEST(ScramblePackageBlockTest, UndoesTheFixtureScramblerForEveryShortLength)
{
    for (uint32_t key : {0u, 7u, 0x80000000u}) {
        for (int length = 0; length <= 9; ++length) {
            Bytes plain(length);
            for (int i = 0; i < length; ++i)
                plain[i] = static_cast<uint8_t>(0xA0 + i);
            Bytes stored = plain;
            ScramblePackageBlockForFixture(stored.data(), length, key, PackageKeyTable::Data());
            if (length > 0) {
                EXPECT_NE(stored, plain) << "length " << length;
            }
            EXPECT_EQ(Descrambled(stored, key), plain) << "key " << key << " length " << length;
        }
    }
}

TEST(ScramblePackageBlockTest, ATailAloneUsesTheStartIndexAndKeepsTheBytesAfterIt)
{
    const uint32_t* table = PackageKeyTable::Data();
    for (int length = 1; length <= 3; ++length) {
        uint8_t buffer[4] = {0x11, 0x22, 0x33, 0x44};
        uint32_t key = 99;
        uint32_t index = (uint32_t(length) + table[length] + key) & PackageKeyTable::kIndexMask;
        ScramblePackageBlock(buffer, length, key);
        for (int i = 0; i < length; ++i)
            EXPECT_EQ(buffer[i], uint8_t((0x11 * (i + 1)) ^ (table[index] >> (8 * i)))) << length;
        EXPECT_EQ(buffer[3], 0x44) << "a byte past the block changed";
    }
    uint8_t untouched = 0x5A;
    ScramblePackageBlock(&untouched, 0, 1);
    EXPECT_EQ(untouched, 0x5A);
}

TEST(ScramblePackageBlockTest, LengthAndKeyChangeTheFirstWord)
{
    Bytes same(12, 0x42);
    Bytes shorter(same.begin(), same.end() - 1);
    Bytes a = Descrambled(same, 5);
    Bytes b = Descrambled(shorter, 5);
    Bytes c = Descrambled(same, 6);
    EXPECT_NE(Bytes(a.begin(), a.begin() + 4), Bytes(b.begin(), b.begin() + 4));
    EXPECT_NE(Bytes(a.begin(), a.begin() + 4), Bytes(c.begin(), c.begin() + 4));
}
