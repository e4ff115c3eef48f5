#include "player/engine/PVJpegDecompressor.h"

// libjpeg's header needs FILE and size_t declared first.
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include <jpeglib.h>

#include "player/engine/PVBitmap.h"
#include "player/engine/PVImage.h"

// Everything a longjmp may skip over lives here, not in stack frames: the
// library object, the jump target and what a decoding has allocated so far.
// The functions that call setjmp hold no objects with destructors.
struct PVJpegDecompressor::State {
    jpeg_decompress_struct info;
    jpeg_error_mgr error;
    jmp_buf jump;
    bool created;
    PVImage* image;
    uint8_t* row;
};

namespace {

void ErrorExit(j_common_ptr info)
{
    // `client_data` points at the State that owns the jump target.
    std::longjmp(*static_cast<jmp_buf*>(info->client_data), 1);
}

// Warnings and traces are not shown anywhere.
void OutputMessage(j_common_ptr) {}

// Reads stream headers until one holds an image (true) or the data ends
// after streams of tables only (false). Tables may come in streams of their
// own before the image, or after an empty stream (a swapped SOI and EOI).
bool ReadHeaders(jpeg_decompress_struct& info)
{
    for (;;) {
        if (jpeg_read_header(&info, FALSE) == JPEG_HEADER_OK)
            return true;
        if (info.src->bytes_in_buffer == 0)
            return false;
    }
}

}  // namespace

PVJpegDecompressor* PVJpegDecompressor::Create()
{
    auto* decompressor = new (std::nothrow) PVJpegDecompressor;
    if (decompressor && !decompressor->Init()) {
        delete decompressor;
        return nullptr;
    }
    return decompressor;
}

bool PVJpegDecompressor::Init()
{
    state_ = static_cast<State*>(std::calloc(1, sizeof(State)));
    if (!state_)
        return false;
    State& s = *state_;
    s.info.err = jpeg_std_error(&s.error);
    s.error.error_exit = ErrorExit;
    s.error.output_message = OutputMessage;
    // jpeg_CreateDecompress clears the struct but keeps `err` and this.
    s.info.client_data = &s.jump;
    if (setjmp(s.jump))
        return false;
    jpeg_CreateDecompress(&s.info, JPEG_LIB_VERSION, sizeof(s.info));
    s.created = true;
    return true;
}

PVJpegDecompressor::~PVJpegDecompressor()
{
    if (!state_)
        return;
    if (state_->created)
        jpeg_destroy_decompress(&state_->info);
    delete state_->image;
    std::free(state_->row);
    std::free(state_);
}

void PVJpegDecompressor::Recover()
{
    State& s = *state_;
    delete s.image;
    s.image = nullptr;
    std::free(s.row);
    s.row = nullptr;
    jpeg_abort_decompress(&s.info);
}

bool PVJpegDecompressor::ReadTables(const uint8_t* data, uint32_t length)
{
    State& s = *state_;
    if (setjmp(s.jump)) {
        Recover();
        return false;
    }
    jpeg_mem_src(&s.info, data, length);
    // A stream that holds an image too is only used for its tables.
    if (ReadHeaders(s.info))
        jpeg_abort_decompress(&s.info);
    return true;
}

PVImage* PVJpegDecompressor::Decode(const uint8_t* data, uint32_t length, bool withAlpha)
{
    State& s = *state_;
    if (setjmp(s.jump)) {
        Recover();
        return nullptr;
    }
    jpeg_mem_src(&s.info, data, length);
    DecodeRows(withAlpha);
    PVImage* image = s.image;
    s.image = nullptr;
    return image;
}

void PVJpegDecompressor::DecodeRows(bool withAlpha)
{
    State& s = *state_;
    jpeg_decompress_struct& info = s.info;
    // Refused before decompression starts: a progressive picture's
    // coefficients for the whole image are allocated there.
    if (!ReadHeaders(info) || uint64_t(info.image_width) * info.image_height > PVBitmap::kMaxPixels)
        ErrorExit(reinterpret_cast<j_common_ptr>(&info));
    info.dct_method = JDCT_ISLOW;
    jpeg_start_decompress(&info);

    const bool grey = info.out_color_space == JCS_GRAYSCALE;
    if (info.data_precision > 8 || (!grey && info.out_color_space != JCS_RGB) || info.output_components != (grey ? 1 : 3)) {
        ErrorExit(reinterpret_cast<j_common_ptr>(&info));
    }
    const int kind = (grey ? PVImage::kGrey : PVImage::kRGB) + (withAlpha ? 1 : 0);
    const int width = int(info.output_width);
    s.image = PVImage::Create(kind, width, int(info.output_height));
    if (!s.image)
        ErrorExit(reinterpret_cast<j_common_ptr>(&info));

    const bool direct = kind == PVImage::kRGB;
    if (!direct) {
        s.row = static_cast<uint8_t*>(std::malloc(size_t(width) * info.output_components));
        if (!s.row)
            ErrorExit(reinterpret_cast<j_common_ptr>(&info));
    }
    while (info.output_scanline < info.output_height) {
        uint8_t* out = s.image->Row(int(info.output_scanline));
        JSAMPROW row = direct ? out : s.row;
        if (jpeg_read_scanlines(&info, &row, 1) != 1)
            ErrorExit(reinterpret_cast<j_common_ptr>(&info));
        if (kind == PVImage::kGrey) {
            std::memcpy(out, s.row, size_t(width));
        } else if (kind == PVImage::kGreyAlpha) {
            for (int x = 0; x < width; ++x)
                out[2 * x] = s.row[x];
        } else if (kind == PVImage::kRGBA) {
            for (int x = 0; x < width; ++x)
                std::memcpy(out + 4 * x, s.row + 3 * x, 3);
        }
    }
    std::free(s.row);
    s.row = nullptr;
    jpeg_finish_decompress(&info);
}
