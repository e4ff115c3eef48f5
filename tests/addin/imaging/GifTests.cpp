#include "ImageTestUtil.h"
#include "addin/imaging/GifReader.h"
#include "addin/imaging/IndexedImage.h"
#include "tests/fixtures/GifWriter.h"

#include <gtest/gtest.h>

namespace {

const std::vector<uint32_t> kFour = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};

GifFrameFields Frame(int width, int height, std::vector<uint8_t> indices)
{
    GifFrameFields frame;
    frame.width = width;
    frame.height = height;
    frame.indices = std::move(indices);
    return frame;
}

// Every frame of a file, decoded into a list.
bool DecodeAll(const std::vector<uint8_t>& bytes, GifFrameList& frames)
{
    BytesFile file(bytes);
    return GifDecode(file.Get(), &frames, nullptr);
}

ImageRef DecodeFirst(const std::vector<uint8_t>& bytes)
{
    BytesFile file(bytes);
    return Own(GifLoadFirstFrame(file.Get()));
}

TEST(GifReader, AnimationFramesMatchImageMagick)
{
    FILE* file = _wfopen(ImageFixture(L"gif_anim.gif").c_str(), L"rb");
    ASSERT_TRUE(file);
    GifFrameList frames;
    ASSERT_TRUE(GifDecode(file, &frames, nullptr));
    fclose(file);
    struct Expected {
        int width, height, left, top, duration;
        bool transparent;
    } expected[] = {{20, 15, 0, 0, 10, true}, {17, 14, 20, 15, 25, false}, {37, 29, 0, 0, 1, false}};
    ASSERT_EQ(3, frames.GetCount());
    EXPECT_EQ(36, frames.GetTotalDuration());
    for (int i = 0; i < 3; ++i) {
        const GifFrame& frame = frames.GetFrame(i);
        const Expected& e = expected[i];
        EXPECT_EQ(e.width, frame.image->GetWidth()) << i;
        EXPECT_EQ(e.height, frame.image->GetHeight()) << i;
        EXPECT_EQ(e.left, frame.left) << i;
        EXPECT_EQ(e.top, frame.top) << i;
        EXPECT_EQ(e.duration, frame.duration) << i;
        // The second frame's control block clears the transparency the first
        // one set: ImageMagick shows it opaque, and so do we.
        EXPECT_EQ(e.transparent, frame.image->HasAlpha()) << i;
        std::wstring reference = L"gif_anim.gif-" + std::to_wstring(i) + L".rgba";
        EXPECT_EQ(ReadBytes(ImageFixture(reference)), ToRgbaTopDown(*frame.image.Get())) << i;
    }
}

TEST(GifReader, ControlValuesCarryToFramesWithoutTheirOwn)
{
    GifFields gif;
    gif.width = 2;
    gif.height = 1;
    gif.globalColours = kFour;
    GifFrameFields first = Frame(2, 1, {1, 2});
    first.control = true;
    first.delay = 7;
    first.transparent = 2;
    GifFrameFields second = Frame(2, 1, {2, 3});  // no control block: inherits 7 and index 2
    GifFrameFields third = Frame(2, 1, {2, 3});
    third.control = true;
    third.delay = 0;  // stored as 1
    gif.frames = {first, second, third};
    GifFrameList frames;
    ASSERT_TRUE(DecodeAll(MakeGif(gif), frames));
    ASSERT_EQ(3, frames.GetCount());
    EXPECT_EQ(7, frames.GetFrame(0).duration);
    EXPECT_EQ(7, frames.GetFrame(1).duration);
    EXPECT_EQ(1, frames.GetFrame(2).duration);
    EXPECT_EQ(15, frames.GetTotalDuration());
    for (int i = 0; i < 2; ++i) {
        const IndexedImage* image = frames.GetFrame(i).image->AsIndexed();
        EXPECT_EQ(PixelType::Rgba, image->GetPaletteType()) << i;
        EXPECT_EQ(0, image->GetPaletteEntry(2)[3]) << i;
    }
    EXPECT_EQ(PixelType::Rgb, frames.GetFrame(2).image->AsIndexed()->GetPaletteType());
}

TEST(GifReader, TransparencyCountsOnlyWhenTheIndexOccurs)
{
    GifFields gif;
    gif.width = 2;
    gif.height = 2;
    gif.globalColours = kFour;
    GifFrameFields frame = Frame(2, 2, {0, 1, 1, 0});
    frame.control = true;
    frame.transparent = 3;
    gif.frames = {frame};
    ImageRef image = DecodeFirst(MakeGif(gif));
    ASSERT_TRUE(image);
    EXPECT_EQ(PixelType::Rgb, image->AsIndexed()->GetPaletteType());
    EXPECT_FALSE(image->HasAlpha());
}

TEST(GifReader, InterlacedRowsAndClampedIndices)
{
    // Nine rows stored in pass order 0, 8 | 4 | 2, 6 | 1, 3, 5, 7; row r holds
    // index r % 4, except that 5 and 7 exceed a four-entry table.
    const int rowsInFileOrder[9] = {0, 8, 4, 2, 6, 1, 3, 5, 7};
    GifFields gif;
    gif.width = 1;
    gif.height = 9;
    gif.globalColours = kFour;
    GifFrameFields frame = Frame(1, 9, {});
    frame.interlaced = true;
    frame.localColours = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0x111111, 0x222222, 0x333333, 0x444444};
    for (int r : rowsInFileOrder)
        frame.indices.push_back(uint8_t(r % 8));
    gif.frames = {frame};
    ImageRef image = DecodeFirst(MakeGif(gif));
    ASSERT_TRUE(image);
    for (int r = 0; r < 9; ++r)
        EXPECT_EQ(r % 8, image->GetTopRow(r)[0]) << r;

    gif.frames[0].interlaced = false;
    gif.frames[0].localColours.clear();
    gif.frames[0].indices = {0, 1, 2, 3, 4, 5, 6, 7, 3};
    gif.frames[0].codeSize = 3;  // room for indices past the table
    image = DecodeFirst(MakeGif(gif));
    ASSERT_TRUE(image);
    std::vector<uint8_t> expected = {0, 1, 2, 3, 3, 3, 3, 3, 3};
    EXPECT_EQ(expected, TopDownSamples(*image));
}

TEST(GifReader, FullCodeTableWithoutClearKeepsDecoding)
{
    // 180 x 150 of varied indices fills the 4096-entry table long before the
    // end; the encoder goes on with 12-bit codes as deferred-clear encoders do.
    std::vector<uint8_t> indices;
    for (int i = 0; i < 180 * 150; ++i)
        indices.push_back(uint8_t(Noise(i % 180, i / 180, 0) % 256));
    GifFields gif;
    gif.width = 180;
    gif.height = 150;
    for (int i = 0; i < 256; ++i)
        gif.globalColours.push_back(uint32_t(i * 0x010101));
    gif.frames = {Frame(180, 150, indices)};
    std::vector<uint8_t> bytes = MakeGif(gif);
    std::vector<uint8_t> literal = MakeGifLzw(indices, 8);
    std::vector<uint8_t> compressed = MakeGifLzwCompressed(indices, 8);
    // Swap the literal data for the compressed ones.
    size_t at = bytes.size() - 1 - literal.size();
    bytes.erase(bytes.begin() + at, bytes.end() - 1);
    bytes.insert(bytes.begin() + at, compressed.begin(), compressed.end());
    ImageRef image = DecodeFirst(bytes);
    ASSERT_TRUE(image);
    EXPECT_EQ(indices, TopDownSamples(*image));
}

TEST(GifReader, LzwFromAFileAlone)
{
    std::vector<uint8_t> indices = {1, 1, 1, 2, 1, 1, 1, 2, 3, 3, 3, 3, 0, 1, 2, 3};
    BytesFile file(MakeGifLzwCompressed(indices, 2));
    std::vector<uint8_t> out(indices.size());
    EXPECT_TRUE(GifDecodeLzw(file.Get(), out.data(), out.size()));
    EXPECT_EQ(indices, out);

    // Data that end early: the rest is zero and the decode fails.
    std::vector<uint8_t> more(indices.size() + 5, 9);
    BytesFile again(MakeGifLzwCompressed(indices, 2));
    EXPECT_FALSE(GifDecodeLzw(again.Get(), more.data(), more.size()));
    EXPECT_EQ(std::vector<uint8_t>(5, 0), std::vector<uint8_t>(more.end() - 5, more.end()));
}

TEST(GifReader, SignaturesAndSizes)
{
    GifFields gif;
    gif.width = 3;
    gif.height = 2;
    gif.globalColours = kFour;
    gif.frames = {Frame(3, 2, {0, 1, 2, 3, 0, 1})};
    struct Case {
        const char* signature;
        bool accepted;
    } cases[] = {{"GIF89a", true}, {"gif87a", true}, {"GIF87b", true}, {"GIF90a", false}, {"GIF88a", false},
                 {"PNG89a", false}};
    for (const Case& c : cases) {
        gif.signature = c.signature;
        std::vector<uint8_t> bytes = MakeGif(gif);
        BytesFile file(bytes);
        int width = -1, height = -1;
        EXPECT_EQ(c.accepted, GifReadSize(file.Get(), &width, &height)) << c.signature;
        if (c.accepted) {
            EXPECT_EQ(3, width);
            EXPECT_EQ(2, height);
        }
        EXPECT_EQ(c.accepted, bool(DecodeFirst(bytes))) << c.signature;
    }

    gif.signature = "GIF89a";
    gif.frames.clear();  // the trailer comes first
    BytesFile empty(MakeGif(gif));
    int width = -1, height = -1;
    EXPECT_TRUE(GifReadSize(empty.Get(), &width, &height));
    EXPECT_EQ(0, width);
    EXPECT_EQ(0, height);
    GifFrameList frames;
    EXPECT_FALSE(DecodeAll(MakeGif(gif), frames));
    EXPECT_FALSE(DecodeFirst(MakeGif(gif)));
}

}  // namespace

TEST(GifReader, AnimationFramesTogetherStayWithinOnePicturesBound)
{
    // Frames of 4096 x 4096 (16 Mi pixels, allowed one by one): four fill
    // the 64 Mi pixels a picture may hold, a fifth goes past it.
    const int side = 4096;
    std::vector<uint8_t> lzw = MakeGifLzwCompressed(std::vector<uint8_t>(size_t(side) * side, 0), 2);
    auto animation = [&](int frameCount) {
        std::vector<uint8_t> bytes = {'G', 'I', 'F', '8', '9', 'a', 0, 0x10, 0, 0x10, 0x80, 0, 0, 0, 0, 0, 255, 255, 255};
        for (int i = 0; i < frameCount; ++i) {
            bytes.insert(bytes.end(), {',', 0, 0, 0, 0, 0, 0x10, 0, 0x10, 0});
            bytes.insert(bytes.end(), lzw.begin(), lzw.end());
        }
        bytes.push_back(';');
        return bytes;
    };
    {
        GifFrameList frames;
        EXPECT_TRUE(DecodeAll(animation(4), frames));
        EXPECT_EQ(4, frames.GetCount());
    }
    GifFrameList frames;
    EXPECT_FALSE(DecodeAll(animation(5), frames));
}
