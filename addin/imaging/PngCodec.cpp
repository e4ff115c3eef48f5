#include "addin/imaging/PngCodec.h"

#include "addin/imaging/ImageLimits.h"
#include "addin/imaging/IndexedImage.h"
#include "base/MKAlloc.h"

#include <png.h>
#include <setjmp.h>
#include <string.h>

// libpng reports fatal errors by jumping back to the recovery point of the
// running call. Only the Run* functions below set one; they and every callback
// libpng can jump through hold no object with a destructor, and keep their
// state in a job record, so the jump skips nothing that needed cleaning up.

namespace {

// libpng's own blocks are rows (its default width limit of 1,000,000 pixels
// at 8 bytes each) and chunks (8 MB at most). It only warns about a longer
// chunk and still asks for the chunk's stated length, so a few bytes could
// claim 2 GB: such a request fails here, and libpng skips the chunk.
const png_alloc_size_t kLargestPngBlock = 16 << 20;

png_voidp AllocForPng(png_structp, png_alloc_size_t size)
{
    return size <= kLargestPngBlock ? MKAlloc(size) : nullptr;
}

void FreeForPng(png_structp, png_voidp block)
{
    MKFree(block);
}

// Fatal errors end the call quietly; warnings are dropped.
void ErrorForPng(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void WarningForPng(png_structp, png_const_charp) {}

struct PngSource {
    FILE* file;
    const uint8_t* data;
    size_t size;
    size_t position;
};

void ReadForPng(png_structp png, png_bytep out, size_t n)
{
    PngSource* source = static_cast<PngSource*>(png_get_io_ptr(png));
    if (source->file) {
        if (fread(out, 1, n, source->file) != n)
            png_error(png, "");
        return;
    }
    if (n > source->size - source->position)
        png_error(png, "PNG Read Error");
    memcpy(out, source->data + source->position, n);
    source->position += n;
}

struct PngReadJob {
    PngSource source;
    bool sizeOnly;
    int width;
    int height;
    png_structp png;
    png_infop info;
    RasterImage* image;
    png_bytep* rows;
};

void EndRead(PngReadJob* job)
{
    if (job->image)
        job->image->Release();
    job->image = nullptr;
    MKFree(job->rows);
    job->rows = nullptr;
    png_destroy_read_struct(&job->png, job->info ? &job->info : nullptr, nullptr);
}

// The palette with the transparency chunk's alpha, then classified.
void TakePalette(png_structp png, png_infop info, IndexedImage* image)
{
    png_colorp colours = nullptr;
    int count = 0;
    png_get_PLTE(png, info, &colours, &count);
    png_bytep alphas = nullptr;
    int alphaCount = 0;
    png_color_16p ignored = nullptr;
    if (png_get_valid(png, info, PNG_INFO_tRNS))
        png_get_tRNS(png, info, &alphas, &alphaCount, &ignored);
    count = count > 256 ? 256 : count;
    uint8_t entries[256][4];
    for (int i = 0; i < count; ++i) {
        entries[i][0] = colours[i].red;
        entries[i][1] = colours[i].green;
        entries[i][2] = colours[i].blue;
        entries[i][3] = alphas && i < alphaCount ? alphas[i] : 255;
    }
    image->SetPaletteRgba(count, &entries[0][0]);
    image->ClassifyPalette();
}

bool RunPngRead(PngReadJob* job)
{
    job->png = png_create_read_struct_2(PNG_LIBPNG_VER_STRING, nullptr, ErrorForPng, WarningForPng, nullptr,
                                        AllocForPng, FreeForPng);
    if (!job->png)
        return false;
    job->info = png_create_info_struct(job->png);
    if (!job->info) {
        EndRead(job);
        return false;
    }
    if (setjmp(png_jmpbuf(job->png))) {
        EndRead(job);
        return false;
    }
    png_structp png = job->png;
    png_infop info = job->info;
    png_set_read_fn(png, &job->source, ReadForPng);
    png_read_info(png, info);
    png_uint_32 width = 0, height = 0;
    int depth = 0, colourType = 0;
    png_get_IHDR(png, info, &width, &height, &depth, &colourType, nullptr, nullptr, nullptr);
    job->width = int(width);
    job->height = int(height);
    if (job->sizeOnly) {
        EndRead(job);
        return true;
    }
    // The image is made for the whole picture before any image data is read.
    // (libpng's own row buffers are bounded by its default width limit.)
    if (!ImageSizeAllowed(width, height))
        png_error(png, "image too large");

    const bool transparency = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    PixelType type;
    switch (colourType) {
    case PNG_COLOR_TYPE_GRAY:
        type = transparency ? PixelType::GrayAlpha : PixelType::Gray;
        break;
    case PNG_COLOR_TYPE_RGB:
        type = transparency ? PixelType::Rgba : PixelType::Rgb;
        break;
    case PNG_COLOR_TYPE_PALETTE:
        type = PixelType::Indexed;
        break;
    case PNG_COLOR_TYPE_GRAY_ALPHA:
        type = PixelType::GrayAlpha;
        break;
    case PNG_COLOR_TYPE_RGB_ALPHA:
        type = PixelType::Rgba;
        break;
    default:
        png_error(png, "unsupported colour type");
    }
    if (depth == 16)
        png_set_strip_16(png);
    if (depth < 8)
        png_set_packing(png);
    if (colourType == PNG_COLOR_TYPE_GRAY && depth < 8)
        png_set_expand_gray_1_2_4_to_8(png);
    if (transparency && colourType != PNG_COLOR_TYPE_PALETTE)
        png_set_tRNS_to_alpha(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);

    job->image = CreateRasterImage(type, int(width), int(height));
    if (!job->image)
        png_error(png, "image too large");
    // The transformed rows must fit the image's rows exactly as planned.
    if (png_get_rowbytes(png, info) != size_t(job->image->GetBytesPerPixel()) * width)
        png_error(png, "unexpected row layout");
    job->rows = static_cast<png_bytep*>(MKAlloc(size_t(height) * sizeof(png_bytep)));
    if (!job->rows)
        png_error(png, "out of memory");
    for (png_uint_32 i = 0; i < height; ++i)
        job->rows[i] = job->image->GetTopRow(int(i));
    png_read_image(png, job->rows);
    if (IndexedImage* indexed = job->image->AsIndexed())
        TakePalette(png, info, indexed);
    job->image->SetFileType(ImageFileType::Png);

    RasterImage* image = job->image;
    job->image = nullptr;
    EndRead(job);
    job->image = image;
    return true;
}

RasterImage* Decode(const PngSource& source)
{
    PngReadJob job = {};
    job.source = source;
    return RunPngRead(&job) ? job.image : nullptr;
}

bool ReadSize(const PngSource& source, int* width, int* height)
{
    PngReadJob job = {};
    job.source = source;
    job.sizeOnly = true;
    if (!RunPngRead(&job))
        return false;
    if (width)
        *width = job.width;
    if (height)
        *height = job.height;
    return true;
}

struct PngSink {
    FILE* file;
    uint8_t* buffer;
    size_t capacity;
    size_t length;
};

void WriteForPng(png_structp png, png_bytep data, size_t n)
{
    PngSink* sink = static_cast<PngSink*>(png_get_io_ptr(png));
    if (sink->file) {
        if (fwrite(data, 1, n, sink->file) != n)
            png_error(png, "write failed");
        return;
    }
    // The buffer grows as needed: stored (level 0) or incompressible data can
    // take more room than the raw pixels.
    if (n > sink->capacity - sink->length) {
        size_t capacity = sink->capacity * 2;
        if (capacity - sink->length < n)
            capacity = sink->length + n;
        if (capacity > INT32_MAX || capacity < sink->length)
            png_error(png, "too large");
        uint8_t* buffer = static_cast<uint8_t*>(MKRealloc(sink->buffer, capacity));
        if (!buffer)
            png_error(png, "out of memory");
        sink->buffer = buffer;
        sink->capacity = capacity;
    }
    memcpy(sink->buffer + sink->length, data, n);
    sink->length += n;
}

void FlushForPng(png_structp png)
{
    PngSink* sink = static_cast<PngSink*>(png_get_io_ptr(png));
    if (sink->file)
        fflush(sink->file);
}

struct PngWriteJob {
    const RasterImage* image;  // never indexed here
    int level;
    PngSink sink;
    png_structp png;
    png_infop info;
};

bool RunPngWrite(PngWriteJob* job)
{
    job->png = png_create_write_struct_2(PNG_LIBPNG_VER_STRING, nullptr, ErrorForPng, WarningForPng, nullptr,
                                         AllocForPng, FreeForPng);
    if (!job->png)
        return false;
    job->info = png_create_info_struct(job->png);
    if (!job->info) {
        png_destroy_write_struct(&job->png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(job->png))) {
        png_destroy_write_struct(&job->png, &job->info);
        return false;
    }
    png_structp png = job->png;
    const RasterImage* image = job->image;
    int colourType;
    switch (image->GetPixelType()) {
    case PixelType::Rgb:
        colourType = PNG_COLOR_TYPE_RGB;
        break;
    case PixelType::Rgba:
        colourType = PNG_COLOR_TYPE_RGB_ALPHA;
        break;
    case PixelType::GrayAlpha:
        colourType = PNG_COLOR_TYPE_GRAY_ALPHA;
        break;
    default:  // Gray, and Alpha written as its gray values
        colourType = PNG_COLOR_TYPE_GRAY;
        break;
    }
    png_set_write_fn(png, &job->sink, WriteForPng, FlushForPng);
    png_set_compression_level(png, job->level);
    png_set_IHDR(png, job->info, png_uint_32(image->GetWidth()), png_uint_32(image->GetHeight()), 8, colourType,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, job->info);
    for (int r = image->GetHeight() - 1; r >= 0; --r)
        png_write_row(png, image->GetRow(r));
    png_write_end(png, job->info);
    png_destroy_write_struct(&job->png, &job->info);
    return true;
}

// Expands an indexed image for writing and runs the writer.
bool Encode(const RasterImage* image, PngSink& sink, int level)
{
    if (!image || !image->IsValid())
        return false;
    RasterImage* expanded = nullptr;
    if (image->GetPixelType() == PixelType::Indexed) {
        expanded = image->ExpandPalette();
        if (!expanded)
            return false;
        image = expanded;
    }
    PngWriteJob job = {};
    job.image = image;
    job.level = level < 0 ? 0 : (level > 9 ? 9 : level);
    job.sink = sink;
    bool ok = RunPngWrite(&job);
    sink = job.sink;
    if (expanded)
        expanded->Release();
    return ok;
}

}  // namespace

RasterImage* PngDecode(FILE* file)
{
    if (!file)
        return nullptr;
    return Decode(PngSource{file, nullptr, 0, 0});
}

RasterImage* PngDecode(const uint8_t* data, size_t size)
{
    if (!data || size == 0)
        return nullptr;
    return Decode(PngSource{nullptr, data, size, 0});
}

bool PngReadSize(FILE* file, int* width, int* height)
{
    return file && ReadSize(PngSource{file, nullptr, 0, 0}, width, height);
}

bool PngReadSize(const uint8_t* data, size_t size, int* width, int* height)
{
    return data && size > 0 && ReadSize(PngSource{nullptr, data, size, 0}, width, height);
}

bool PngEncode(const RasterImage* image, FILE* file, int level)
{
    if (!file)
        return false;
    PngSink sink = {file, nullptr, 0, 0};
    return Encode(image, sink, level);
}

bool PngEncode(const RasterImage* image, uint8_t** data, size_t* length, int level)
{
    if (!data || !length)
        return false;
    *data = nullptr;
    *length = 0;
    if (!image || !image->IsValid())
        return false;
    // Room for the raw pixels and the chunks around them, grown when needed.
    int64_t guess = int64_t(image->GetHeight()) * image->GetWidth() * 4 + 256;
    PngSink sink = {nullptr, nullptr, size_t(guess < (1 << 24) ? guess : (1 << 24)), 0};
    sink.buffer = static_cast<uint8_t*>(MKAlloc(sink.capacity));
    if (!sink.buffer)
        return false;
    if (!Encode(image, sink, level)) {
        MKFree(sink.buffer);
        return false;
    }
    uint8_t* shrunk = static_cast<uint8_t*>(MKRealloc(sink.buffer, sink.length));
    *data = shrunk ? shrunk : sink.buffer;
    *length = sink.length;
    return true;
}
