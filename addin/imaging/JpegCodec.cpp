#include "addin/imaging/JpegCodec.h"

#include "addin/imaging/ImageLimits.h"
#include "addin/imaging/JpegErrors.h"
#include "addin/imaging/JpegInput.h"
#include "addin/imaging/JpegOutput.h"
#include "base/MKAlloc.h"

#include <string.h>

// Only the Run* functions set a recovery point. They keep every piece of state
// in a job record (so nothing lives in registers across the jump) and hold no
// object with a destructor; libjpeg's fatal errors jump straight back to them.

namespace {

struct JpegDecodeJob {
    FILE* file;
    const uint8_t* data;
    size_t size;
    ImageCancelCallback progress;
    void* user;
    bool sizeOnly;
    int width;
    int height;
    jpeg_decompress_struct cinfo;
    JpegErrorManager errors;
    RasterImage* image;
    uint8_t* rowBuffer;
    JSAMPROW* rows;
};

void EndDecode(JpegDecodeJob* job, bool keepImage)
{
    jpeg_destroy_decompress(&job->cinfo);
    MKFree(job->rowBuffer);
    job->rowBuffer = nullptr;
    MKFree(job->rows);
    job->rows = nullptr;
    if (!keepImage && job->image) {
        job->image->Release();
        job->image = nullptr;
    }
}

inline uint8_t InkToChannel(int colour, int black)
{
    int v = colour - (255 - black);
    return uint8_t(v < 0 ? 0 : v);
}

// One decoded scanline of a layout the image does not share, into its row.
void ConvertScanline(const jpeg_decompress_struct& cinfo, const uint8_t* in, uint8_t* out)
{
    const int width = int(cinfo.output_width);
    const int components = cinfo.output_components;
    if (components == 1) {
        memcpy(out, in, size_t(width));
    } else if (cinfo.out_color_space == JCS_CMYK && components == 4) {
        for (int x = 0; x < width; ++x, in += 4, out += 3) {
            out[0] = InkToChannel(in[0], in[3]);
            out[1] = InkToChannel(in[1], in[3]);
            out[2] = InkToChannel(in[2], in[3]);
        }
    } else {
        for (int x = 0; x < width; ++x, in += components, out += 3)
            memcpy(out, in, 3);
    }
}

bool RunJpegDecode(JpegDecodeJob* job)
{
    jpeg_decompress_struct* cinfo = &job->cinfo;
    memset(cinfo, 0, sizeof(*cinfo));
    cinfo->err = JpegUseErrorManager(&job->errors);
    if (setjmp(job->errors.recovery)) {
        EndDecode(job, false);
        return false;
    }
    jpeg_create_decompress(cinfo);
    // A progressive picture keeps all its coefficients (2 bytes a sample) in
    // memory: beyond this limit libjpeg fails instead of asking for more.
    cinfo->mem->max_memory_to_use = long(kMaxImageBytes);
    JpegSkipComments(cinfo);
    if (job->file)
        jpeg_stdio_src(cinfo, job->file);
    else
        JpegSetMemorySource(cinfo, job->data, job->size);
    jpeg_read_header(cinfo, TRUE);
    job->width = int(cinfo->image_width);
    job->height = int(cinfo->image_height);
    if (job->sizeOnly) {
        EndDecode(job, false);
        return true;
    }

    if (!ImageSizeAllowed(job->width, job->height)) {
        EndDecode(job, false);
        return false;
    }
    cinfo->dct_method = JDCT_ISLOW;
    jpeg_start_decompress(cinfo);
    const int width = int(cinfo->output_width);
    const int height = int(cinfo->output_height);
    const bool gray = cinfo->out_color_space == JCS_GRAYSCALE;
    // An RGB picture takes three samples of every pixel: a file with fewer
    // (two components, no known colour space) cannot give them.
    if (!gray && cinfo->output_components < 3) {
        EndDecode(job, false);
        return false;
    }
    job->image = CreateRasterImage(gray ? PixelType::Gray : PixelType::Rgb, width, height);
    job->rowBuffer = static_cast<uint8_t*>(MKAlloc(size_t(width) * size_t(cinfo->output_components)));
    if (!job->image || !job->rowBuffer) {
        EndDecode(job, false);
        return false;
    }
    // Gray and RGB scanlines have the image's own layout and go straight in.
    const bool direct = (gray && cinfo->output_components == 1) ||
                        (cinfo->out_color_space == JCS_RGB && cinfo->output_components == 3);
    if (direct) {
        job->rows = static_cast<JSAMPROW*>(MKAlloc(size_t(height) * sizeof(JSAMPROW)));
        if (!job->rows) {
            EndDecode(job, false);
            return false;
        }
        for (int i = 0; i < height; ++i)
            job->rows[i] = job->image->GetTopRow(i);
    }
    while (int(cinfo->output_scanline) < height) {
        const int line = int(cinfo->output_scanline);
        JDIMENSION read;
        if (direct) {
            JDIMENSION wanted = job->progress ? 1 : JDIMENSION(height - line);
            read = jpeg_read_scanlines(cinfo, job->rows + line, wanted);
        } else {
            read = jpeg_read_scanlines(cinfo, &job->rowBuffer, 1);
            if (read == 1)
                ConvertScanline(*cinfo, job->rowBuffer, job->image->GetTopRow(line));
        }
        // Our sources never suspend; no progress would loop forever.
        if (read == 0 || (job->progress && job->progress(job->user))) {
            EndDecode(job, false);
            return false;
        }
    }
    jpeg_finish_decompress(cinfo);
    job->image->SetFileType(ImageFileType::Jpeg);
    EndDecode(job, true);
    return true;
}

// Reads `file`, or the `size` bytes at `data` when there is no file.
RasterImage* Decode(FILE* file, const uint8_t* data, size_t size, ImageCancelCallback progress, void* user)
{
    JpegDecodeJob job = {};
    job.file = file;
    job.data = data;
    job.size = size;
    job.progress = progress;
    job.user = user;
    return RunJpegDecode(&job) ? job.image : nullptr;
}

bool ReadSize(FILE* file, const uint8_t* data, size_t size, int* width, int* height)
{
    JpegDecodeJob job = {};
    job.file = file;
    job.data = data;
    job.size = size;
    job.sizeOnly = true;
    if (!RunJpegDecode(&job))
        return false;
    if (width)
        *width = job.width;
    if (height)
        *height = job.height;
    return true;
}

struct JpegWriteJob {
    const RasterImage* image;
    FILE* file;
    JpegMemoryBlock memory;  // the output when there is no file
    int quality;
    bool progressive;
    bool rowsTopDown;
    ImageCancelCallback progress;
    void* user;
    jpeg_compress_struct cinfo;
    JpegErrorManager errors;
    JSAMPROW* rows;
    uint8_t* rowBuffer;
};

void EndEncode(JpegWriteJob* job)
{
    jpeg_destroy_compress(&job->cinfo);
    MKFree(job->rows);
    job->rows = nullptr;
    MKFree(job->rowBuffer);
    job->rowBuffer = nullptr;
}

bool RunJpegWrite(JpegWriteJob* job)
{
    jpeg_compress_struct* cinfo = &job->cinfo;
    const RasterImage* image = job->image;
    const PixelType type = image->GetPixelType();
    const int width = image->GetWidth();
    const int height = image->GetHeight();
    memset(cinfo, 0, sizeof(*cinfo));
    cinfo->err = JpegUseErrorManager(&job->errors);
    if (setjmp(job->errors.recovery)) {
        EndEncode(job);
        return false;
    }
    jpeg_create_compress(cinfo);
    if (job->file)
        jpeg_stdio_dest(cinfo, job->file);
    else
        JpegSetMemoryDestination(cinfo, &job->memory);
    const bool gray = type == PixelType::Alpha || type == PixelType::Gray || type == PixelType::GrayAlpha;
    cinfo->image_width = JDIMENSION(width);
    cinfo->image_height = JDIMENSION(height);
    cinfo->input_components = gray ? 1 : 3;
    cinfo->in_color_space = gray ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(cinfo);
    cinfo->density_unit = 0;
    jpeg_set_quality(cinfo, job->quality, TRUE);
    cinfo->optimize_coding = TRUE;
    cinfo->dct_method = JDCT_ISLOW;
    if (job->progressive)
        jpeg_simple_progression(cinfo);
    jpeg_start_compress(cinfo, TRUE);

    auto sourceRow = [job, height](int i) { return job->image->GetRow(job->rowsTopDown ? i : height - 1 - i); };
    bool cancelled = false;
    if (type == PixelType::Rgba || type == PixelType::GrayAlpha) {
        job->rowBuffer = static_cast<uint8_t*>(MKAlloc(size_t(width) * 3));
        if (!job->rowBuffer) {
            EndEncode(job);
            return false;
        }
        const int bpp = image->GetBytesPerPixel();
        for (int i = 0; i < height && !cancelled; ++i) {
            const uint8_t* in = sourceRow(i);
            uint8_t* out = job->rowBuffer;
            if (type == PixelType::Rgba) {
                for (int x = 0; x < width; ++x, in += bpp, out += 3)
                    memcpy(out, in, 3);
            } else {
                for (int x = 0; x < width; ++x, in += bpp)
                    *out++ = in[0];
            }
            jpeg_write_scanlines(cinfo, &job->rowBuffer, 1);
            cancelled = job->progress && job->progress(job->user);
        }
    } else {
        job->rows = static_cast<JSAMPROW*>(MKAlloc(size_t(height) * sizeof(JSAMPROW)));
        if (!job->rows) {
            EndEncode(job);
            return false;
        }
        for (int i = 0; i < height; ++i)
            job->rows[i] = const_cast<JSAMPROW>(sourceRow(i));
        if (job->progress) {
            for (int i = 0; i < height && !cancelled; ++i) {
                cancelled = job->progress(job->user);
                if (!cancelled)
                    jpeg_write_scanlines(cinfo, job->rows + i, 1);
            }
        } else {
            jpeg_write_scanlines(cinfo, job->rows, JDIMENSION(height));
        }
    }
    if (!cancelled)
        jpeg_finish_compress(cinfo);
    EndEncode(job);
    return !cancelled;
}

// Encodes into the job's file, or its memory block when it has no file.
bool Encode(JpegWriteJob& job, const RasterImage* image, int quality, bool progressive, bool rowsTopDown,
            ImageCancelCallback progress, void* user)
{
    if (!image || !image->IsValid() || image->GetPixelType() == PixelType::Indexed)
        return false;
    job.image = image;
    job.quality = quality;
    job.progressive = progressive;
    job.rowsTopDown = rowsTopDown;
    job.progress = progress;
    job.user = user;
    return RunJpegWrite(&job);
}

}  // namespace

RasterImage* JpegDecode(FILE* file, ImageCancelCallback progress, void* user)
{
    return file ? Decode(file, nullptr, 0, progress, user) : nullptr;
}

RasterImage* JpegDecode(const uint8_t* data, size_t size, ImageCancelCallback progress, void* user)
{
    return data && size != 0 ? Decode(nullptr, data, size, progress, user) : nullptr;
}

bool JpegReadSize(FILE* file, int* width, int* height)
{
    return file && ReadSize(file, nullptr, 0, width, height);
}

bool JpegReadSize(const uint8_t* data, size_t size, int* width, int* height)
{
    return data && size != 0 && ReadSize(nullptr, data, size, width, height);
}

bool JpegWriteImage(const RasterImage* image, FILE* file, int quality, bool progressive, bool rowsTopDown,
                    ImageCancelCallback progress, void* user)
{
    if (!file)
        return false;
    JpegWriteJob job = {};
    job.file = file;
    return Encode(job, image, quality, progressive, rowsTopDown, progress, user);
}

bool JpegWriteImageToMemory(const RasterImage* image, uint8_t** data, size_t* length, int quality,
                            bool progressive, bool rowsTopDown, ImageCancelCallback progress, void* user)
{
    if (!data || !length)
        return false;
    *data = nullptr;
    *length = 0;
    JpegWriteJob job = {};
    if (!Encode(job, image, quality, progressive, rowsTopDown, progress, user)) {
        MKFree(job.memory.data);
        return false;
    }
    uint8_t* shrunk = static_cast<uint8_t*>(MKRealloc(job.memory.data, job.memory.length));
    *data = shrunk ? shrunk : job.memory.data;
    *length = job.memory.length;
    return true;
}
