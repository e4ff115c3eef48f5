// Proves that every cross-built dependency links into a Windows program and
// does real work under Wine.
#include <gtest/gtest.h>

#include <cairo.h>
#include <cairo-win32.h>
#include <cstdio>
#include <cstring>
#include <expat.h>
#include <lzma.h>
#include <png.h>
#include <vector>
#include <zlib.h>

extern "C" {
#include <jpeglib.h>
}

TEST(Dependencies, ZlibRoundTrip)
{
    const char text[] = "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa";
    uLongf packedSize = compressBound(sizeof text);
    std::vector<Bytef> packed(packedSize);
    ASSERT_EQ(Z_OK, compress2(packed.data(), &packedSize, reinterpret_cast<const Bytef*>(text), sizeof text, 9));
    EXPECT_LT(packedSize, sizeof text);
    char back[sizeof text];
    uLongf backSize = sizeof back;
    ASSERT_EQ(Z_OK, uncompress(reinterpret_cast<Bytef*>(back), &backSize, packed.data(), packedSize));
    EXPECT_EQ(0, memcmp(text, back, sizeof text));
}

TEST(Dependencies, LibpngVersion)
{
    EXPECT_EQ(10600u, png_access_version_number() / 100 * 100);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, png);
    png_destroy_write_struct(&png, nullptr);
}

TEST(Dependencies, LibjpegEncodesApi62)
{
    EXPECT_EQ(62, JPEG_LIB_VERSION);
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr err{};
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    jpeg_mem_dest(&cinfo, &out, &outSize);
    cinfo.image_width = 8;
    cinfo.image_height = 8;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    unsigned char row[8 * 3];
    memset(row, 0x80, sizeof row);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW rows[1] = {row};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    ASSERT_GT(outSize, 4u);
    EXPECT_EQ(0xFF, out[0]);
    EXPECT_EQ(0xD8, out[1]);
    free(out);
}

TEST(Dependencies, ExpatIsWide)
{
    static_assert(sizeof(XML_Char) == sizeof(wchar_t));
    XML_Parser parser = XML_ParserCreate(nullptr);
    int elements = 0;
    XML_SetUserData(parser, &elements);
    XML_SetStartElementHandler(parser, [](void* user, const XML_Char* name, const XML_Char**) {
        if (wcscmp(name, L"b") == 0)
            ++*static_cast<int*>(user);
    });
    const char doc[] = "<a><b/><b x='1'/></a>";
    EXPECT_EQ(XML_STATUS_OK, XML_Parse(parser, doc, sizeof doc - 1, 1));
    EXPECT_EQ(2, elements);
    XML_ParserFree(parser);
}

TEST(Dependencies, LzmaRawLzma1RoundTrip)
{
    lzma_options_lzma options;
    ASSERT_FALSE(lzma_lzma_preset(&options, 6));
    lzma_filter filters[] = {{LZMA_FILTER_LZMA1, &options}, {LZMA_VLI_UNKNOWN, nullptr}};
    const char text[] = "lzma lzma lzma lzma lzma lzma lzma lzma";
    std::vector<uint8_t> packed(256);
    lzma_stream enc = LZMA_STREAM_INIT;
    ASSERT_EQ(LZMA_OK, lzma_raw_encoder(&enc, filters));
    enc.next_in = reinterpret_cast<const uint8_t*>(text);
    enc.avail_in = sizeof text;
    enc.next_out = packed.data();
    enc.avail_out = packed.size();
    ASSERT_EQ(LZMA_STREAM_END, lzma_code(&enc, LZMA_FINISH));
    size_t packedSize = enc.total_out;
    lzma_end(&enc);

    lzma_stream dec = LZMA_STREAM_INIT;
    ASSERT_EQ(LZMA_OK, lzma_raw_decoder(&dec, filters));
    char back[sizeof text] = {};
    dec.next_in = packed.data();
    dec.avail_in = packedSize;
    dec.next_out = reinterpret_cast<uint8_t*>(back);
    dec.avail_out = sizeof back;
    lzma_ret r = lzma_code(&dec, LZMA_RUN);
    EXPECT_TRUE(r == LZMA_OK || r == LZMA_STREAM_END);
    lzma_end(&dec);
    EXPECT_STREQ(text, back);
}

TEST(Dependencies, CairoDrawsPremultipliedArc)
{
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 32, 32);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgba(cr, 1, 0, 0, 0.5);
    cairo_arc(cr, 16, 16, 10, 0, 6.2831853);
    cairo_fill(cr);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    const uint32_t* pixels = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(surface));
    int stride = cairo_image_surface_get_stride(surface) / 4;
    uint32_t centre = pixels[16 * stride + 16];
    EXPECT_EQ(0x80u, centre >> 24);
    EXPECT_EQ(0x80u, (centre >> 16) & 0xFF);  // premultiplied red
    EXPECT_EQ(0u, pixels[0]);
    cairo_surface_destroy(surface);
}
