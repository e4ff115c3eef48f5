#include "JpegEncoder.h"

#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace {

// One libjpeg compressor writing to memory; the library's default error
// handling (ending the process) is acceptable for fixtures.
class Compressor {
public:
    Compressor(int width, int height, int components)
    {
        info_.err = jpeg_std_error(&error_);
        jpeg_create_compress(&info_);
        info_.image_width = width;
        info_.image_height = height;
        info_.input_components = components;
        info_.in_color_space = components == 1 ? JCS_GRAYSCALE : components == 3 ? JCS_RGB : JCS_CMYK;
        jpeg_set_defaults(&info_);
        jpeg_set_quality(&info_, 95, TRUE);
    }
    ~Compressor()
    {
        jpeg_destroy_compress(&info_);
        std::free(buffer_);
    }
    Compressor(const Compressor&) = delete;
    Compressor& operator=(const Compressor&) = delete;

    void MakeProgressive() { jpeg_simple_progression(&info_); }

    std::vector<uint8_t> Tables()
    {
        Target();
        jpeg_write_tables(&info_);
        return Written();
    }

    std::vector<uint8_t> Image(const std::vector<uint8_t>& pixels, bool withTables)
    {
        Target();
        jpeg_start_compress(&info_, withTables ? TRUE : FALSE);
        const size_t stride = size_t(info_.image_width) * info_.input_components;
        while (info_.next_scanline < info_.image_height) {
            JSAMPROW row = const_cast<uint8_t*>(pixels.data()) + stride * info_.next_scanline;
            jpeg_write_scanlines(&info_, &row, 1);
        }
        jpeg_finish_compress(&info_);
        return Written();
    }

private:
    void Target()
    {
        std::free(buffer_);
        buffer_ = nullptr;
        size_ = 0;
        jpeg_mem_dest(&info_, &buffer_, &size_);
    }
    std::vector<uint8_t> Written() const { return std::vector<uint8_t>(buffer_, buffer_ + size_); }

    jpeg_compress_struct info_{};
    jpeg_error_mgr error_{};
    unsigned char* buffer_ = nullptr;
    unsigned long size_ = 0;
};

}  // namespace

std::vector<uint8_t> EncodeJpeg(int width, int height, int components, const std::vector<uint8_t>& pixels,
                                bool progressive)
{
    Compressor compressor(width, height, components);
    if (progressive)
        compressor.MakeProgressive();
    return compressor.Image(pixels, true);
}

JpegParts EncodeAbbreviatedJpeg(int width, int height, int components, const std::vector<uint8_t>& pixels)
{
    Compressor compressor(width, height, components);
    JpegParts parts;
    parts.tables = compressor.Tables();
    parts.image = compressor.Image(pixels, false);
    return parts;
}
