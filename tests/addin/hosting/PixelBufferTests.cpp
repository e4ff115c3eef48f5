#include "addin/hosting/PixelBuffer.h"
#include "addin/imaging/DirectImage.h"

#include <gtest/gtest.h>
#include <string.h>

#include <vector>

namespace {

struct Rgba {
    uint8_t r, g, b, a;
    bool operator==(const Rgba& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
};

std::ostream& operator<<(std::ostream& out, const Rgba& p)
{
    return out << "(" << int(p.r) << "," << int(p.g) << "," << int(p.b) << "," << int(p.a) << ")";
}

Rgba At(const PixelBuffer& buffer, int x, int y)
{
    Rgba p = {};
    EXPECT_TRUE(buffer.GetPixel(x, y, &p.r, &p.g, &p.b, &p.a));
    return p;
}

// A view of the middle of a larger block whose border bytes must stay as they
// were, so writes outside the view show.
class GuardedBuffer {
public:
    GuardedBuffer(int width, int height, int bpp, bool bottomUp)
        : m_block((width * bpp + 8) * (height + 2), 0xEE),
          m_stride(width * bpp + 8),
          m_view(m_block.data() + m_stride + 4, width, height, m_stride, bottomUp, bpp)
    {
        for (int y = 0; y < height; ++y)
            memset(m_block.data() + (y + 1) * m_stride + 4, 0, width * bpp);
    }
    PixelBuffer& View() { return m_view; }
    bool GuardsIntact() const
    {
        int inner = m_view.GetWidth() * m_view.GetBytesPerPixel();
        for (size_t i = 0; i < m_block.size(); ++i) {
            size_t row = i / m_stride, col = i % m_stride;
            bool inside = row >= 1 && row <= size_t(m_view.GetHeight()) && col >= 4 && col < size_t(4 + inner);
            if (!inside && m_block[i] != 0xEE)
                return false;
        }
        return true;
    }

private:
    std::vector<uint8_t> m_block;
    int m_stride;
    PixelBuffer m_view;
};

TEST(PixelBuffer, LogicalRowsOfBottomUpStorage)
{
    std::vector<uint8_t> bits(4 * 3 * 10);
    PixelBuffer buffer(bits.data(), 3, 10, 12, true, 4);
    EXPECT_EQ(bits.data() + 9 * 12, buffer.PixelAt(0, 0));
    EXPECT_EQ(bits.data() + 2 * 4, buffer.PixelAt(2, 9));
    PixelBuffer topDown(bits.data(), 3, 10, 12, false, 4);
    EXPECT_EQ(bits.data(), topDown.PixelAt(0, 0));
}

TEST(PixelBuffer, FillWritesWindowsByteOrderInsideTheBuffer)
{
    GuardedBuffer four(5, 4, 4, true);
    four.View().Fill(RECT{1, 1, 3, 2}, 1, 2, 3, 4);
    const uint8_t* p = four.View().PixelAt(1, 1);
    EXPECT_EQ((std::vector<uint8_t>{3, 2, 1, 4, 3, 2, 1, 4, 0, 0, 0, 0}), std::vector<uint8_t>(p, p + 12));
    // Rectangles reaching outside are cut at the edges.
    four.View().Fill(RECT{-100, -3, 100, 100}, 9, 9, 9, 9);
    four.View().FillBytes(RECT{-2147483647 - 1, 2, 2147483647, 2147483647}, 7);
    EXPECT_TRUE(four.GuardsIntact());
    EXPECT_EQ((Rgba{9, 9, 9, 9}), At(four.View(), 0, 0));
    EXPECT_EQ((Rgba{7, 7, 7, 7}), At(four.View(), 4, 3));

    GuardedBuffer three(3, 2, 3, false);
    three.View().Fill(RECT{0, 0, 3, 2}, 1, 2, 3, 4);
    const uint8_t* q = three.View().PixelAt(0, 1);
    EXPECT_EQ((std::vector<uint8_t>{3, 2, 1, 3, 2, 1, 3, 2, 1}), std::vector<uint8_t>(q, q + 9));
    three.View().SetAlpha(RECT{0, 0, 3, 2}, 0);  // no alpha to set
    EXPECT_EQ((Rgba{1, 2, 3, 255}), At(three.View(), 2, 1));
    EXPECT_TRUE(three.GuardsIntact());
    EXPECT_FALSE(three.View().GetPixel(3, 0, nullptr, nullptr, nullptr, nullptr));
    EXPECT_FALSE(three.View().GetPixel(0, -1, nullptr, nullptr, nullptr, nullptr));
}

TEST(PixelBuffer, UniformAlphaAndPremultiply)
{
    PixelBuffer buffer;
    ASSERT_TRUE(buffer.Allocate(4, 3, 4));
    buffer.Fill(RECT{0, 0, 4, 3}, 10, 20, 30, 40);
    uint32_t word = 0;
    EXPECT_TRUE(buffer.IsUniform(&word));
    EXPECT_EQ(0x280A141Eu, word);
    buffer.SetAlpha(RECT{3, 2, 4, 3}, 41);
    EXPECT_FALSE(buffer.IsUniform(&word));

    buffer.Fill(RECT{0, 0, 1, 1}, 50, 100, 200, 128);
    buffer.Fill(RECT{1, 0, 2, 1}, 50, 100, 200, 0);
    buffer.Fill(RECT{2, 0, 3, 1}, 50, 100, 200, 255);
    buffer.Fill(RECT{3, 0, 4, 1}, 255, 1, 2, 1);
    buffer.Premultiply(RECT{0, 0, 4, 1});
    EXPECT_EQ((Rgba{25, 50, 100, 128}), At(buffer, 0, 0));  // 200 x 128 / 255 = 100.4
    EXPECT_EQ((Rgba{0, 0, 0, 0}), At(buffer, 1, 0));
    EXPECT_EQ((Rgba{50, 100, 200, 255}), At(buffer, 2, 0));
    EXPECT_EQ((Rgba{1, 0, 0, 1}), At(buffer, 3, 0));
    EXPECT_EQ((Rgba{10, 20, 30, 40}), At(buffer, 0, 1));
}

TEST(PixelBuffer, CompositeOverColour)
{
    PixelBuffer buffer;
    ASSERT_TRUE(buffer.Allocate(3, 2, 4));
    buffer.Fill(RECT{0, 0, 3, 2}, 9, 9, 9, 9);
    buffer.Fill(RECT{0, 0, 1, 1}, 0, 0, 0, 0);
    buffer.Fill(RECT{1, 0, 2, 1}, 200, 100, 0, 128);
    buffer.Fill(RECT{2, 0, 3, 1}, 1, 2, 3, 255);
    PixelBuffer::CompositeOverColor(10, 20, 30, 40, 3, 1, buffer, 0, 0);
    EXPECT_EQ((Rgba{10, 20, 30, 40}), At(buffer, 0, 0));
    // (128 x 200 + 127 x 10) / 255 = 105.4; alpha (128 x 255 + 127 x 40) / 255 = 147.9
    EXPECT_EQ((Rgba{105, 60, 15, 148}), At(buffer, 1, 0));
    EXPECT_EQ((Rgba{1, 2, 3, 255}), At(buffer, 2, 0));
    EXPECT_EQ((Rgba{9, 9, 9, 9}), At(buffer, 0, 1));
    PixelBuffer::CompositeOverColor(1, 1, 1, 1, 100, 100, buffer, 3, -50);  // entirely outside
    EXPECT_EQ((Rgba{9, 9, 9, 9}), At(buffer, 2, 1));
}

TEST(PixelBuffer, CopiesBetweenBuffers)
{
    PixelBuffer source, target, narrow;
    ASSERT_TRUE(source.Allocate(4, 4, 4));
    ASSERT_TRUE(narrow.Allocate(4, 4, 3));
    std::vector<uint8_t> bits(4 * 4 * 4, 0);
    target = PixelBuffer(bits.data(), 4, 4, 16, true, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            source.Fill(RECT{x, y, x + 1, y + 1}, uint8_t(x), uint8_t(y), 7, 255);
    narrow.FillBytes(RECT{0, 0, 4, 4}, 0x33);
    PixelBuffer::CopyPixels(source, 0, 0, 4, 4, narrow, 0, 0);  // pixel sizes differ: nothing
    EXPECT_EQ((Rgba{0x33, 0x33, 0x33, 255}), At(narrow, 1, 1));

    PixelBuffer::CopyPixels(source, 1, 2, 5, 5, target, 2, 1);
    EXPECT_EQ((Rgba{1, 2, 7, 255}), At(target, 2, 1));
    EXPECT_EQ((Rgba{2, 3, 7, 255}), At(target, 3, 2));
    EXPECT_EQ((Rgba{0, 0, 0, 0}), At(target, 3, 3));
    EXPECT_EQ((Rgba{0, 0, 0, 0}), At(target, 1, 1));
    PixelBuffer::CopyPixels(source, -3, -3, 5, 5, target, 0, 0);
    EXPECT_EQ((Rgba{0, 0, 7, 255}), At(target, 3, 3));
    EXPECT_EQ((Rgba{0, 0, 0, 0}), At(target, 0, 0));
}

TEST(PixelBuffer, RasterImagesInAndOut)
{
    RasterImage* rgb = DirectImage::CreateRgb24(3, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            uint8_t* p = rgb->GetTopRow(y) + 3 * x;
            p[0] = uint8_t(10 * x), p[1] = uint8_t(100 + y), p[2] = 200;
        }
    PixelBuffer four;
    ASSERT_TRUE(four.Allocate(3, 3, 4));
    four.FillBytes(RECT{0, 0, 3, 3}, 0);
    PixelBuffer::DrawRasterImage(*rgb, 1, 0, 2, 2, four, 0, 1);  // image column 1.. to buffer row 1..
    EXPECT_EQ((Rgba{10, 100, 200, 255}), At(four, 0, 1));
    EXPECT_EQ((Rgba{20, 101, 200, 255}), At(four, 1, 2));
    EXPECT_EQ((Rgba{0, 0, 0, 0}), At(four, 2, 1));
    EXPECT_EQ((Rgba{0, 0, 0, 0}), At(four, 0, 0));

    RasterImage* back = four.ToRasterImageRgba();
    ASSERT_TRUE(back);
    EXPECT_EQ(PixelType::Rgba, back->GetPixelType());
    const uint8_t* top = back->GetTopRow(1);
    EXPECT_EQ((std::vector<uint8_t>{10, 100, 200, 255}), std::vector<uint8_t>(top, top + 4));
    back->Release();

    RasterImage* rgba = DirectImage::CreateArgb32(1, 1);
    const uint8_t pixel[4] = {1, 2, 3, 4};
    memcpy(rgba->GetRow(0), pixel, 4);
    PixelBuffer three;
    ASSERT_TRUE(three.Allocate(1, 1, 3));
    PixelBuffer::DrawRasterImage(*rgba, 0, 0, 1, 1, three, 0, 0);
    EXPECT_EQ((Rgba{1, 2, 3, 255}), At(three, 0, 0));
    RasterImage* opaque = three.ToRasterImageRgba();
    EXPECT_EQ(255, opaque->GetRow(0)[3]);
    RasterImage* rgbBack = three.ToRasterImageRgb();
    EXPECT_EQ(PixelType::Rgb, rgbBack->GetPixelType());
    EXPECT_EQ((std::vector<uint8_t>{1, 2, 3}), std::vector<uint8_t>(rgbBack->GetRow(0), rgbBack->GetRow(0) + 3));
    opaque->Release();
    rgbBack->Release();
    rgba->Release();
    rgb->Release();
    EXPECT_EQ(nullptr, PixelBuffer().ToRasterImageRgba());
}

TEST(PixelBuffer, RecoverAlphaFromTwoRenders)
{
    struct Case {
        uint8_t black[3];  // R, G, B on black
        uint8_t whiteRed;  // R on white
        Rgba result;
    } cases[] = {
        {{0, 0, 0}, 255, {0, 0, 0, 0}},             // background shows through fully
        {{64, 32, 0}, 191, {128, 64, 0, 128}},      // half: colour divided by alpha
        {{90, 80, 70}, 90, {90, 80, 70, 255}},      // opaque
        {{90, 80, 70}, 89, {90, 80, 70, 255}},      // white render darker: opaque, not transparent
        {{200, 200, 200}, 230, {227, 227, 227, 225}},  // 51112 / 225
        {{100, 250, 0}, 200, {165, 255, 0, 155}},      // green 250 / 155 clamped to 255
    };
    for (const Case& c : cases) {
        PixelBuffer black, white;
        ASSERT_TRUE(black.Allocate(2, 1, 4));
        ASSERT_TRUE(white.Allocate(2, 1, 4));
        black.Fill(RECT{0, 0, 2, 1}, c.black[0], c.black[1], c.black[2], 0);
        white.Fill(RECT{0, 0, 2, 1}, c.whiteRed, 255, 255, 255);
        PixelBuffer::RecoverAlpha(black, white, 0, 0, 1, 1, black);
        EXPECT_EQ(c.result, At(black, 0, 0)) << int(c.black[0]) << " / " << int(c.whiteRed);
        EXPECT_EQ(0, At(black, 1, 0).a);  // outside the rectangle
    }
}

}  // namespace
