#include "addin/imaging/GifReader.h"

#include "addin/imaging/ImageFileReader.h"
#include "addin/imaging/ImageLimits.h"
#include "addin/imaging/IndexedImage.h"
#include "base/MKAlloc.h"

#include <string.h>

namespace {

const int kMaxCodes = 4096;

bool ReadSignature(ImageFileReader& reader)
{
    uint8_t s[6];
    if (!reader.Read(s, 6))
        return false;
    return (s[0] & 0xDF) == 'G' && (s[1] & 0xDF) == 'I' && (s[2] & 0xDF) == 'F' && s[3] == '8' &&
           (s[4] == '7' || s[4] == '9');
}

// Skips data sub-blocks up to and including the empty one.
bool SkipSubBlocks(ImageFileReader& reader)
{
    for (;;) {
        uint8_t size;
        if (!reader.U8(size))
            return false;
        if (size == 0)
            return true;
        if (!reader.Skip(size))
            return false;
    }
}

// Codes of an LZW stream, least significant bit first, from data sub-blocks.
class CodeReader {
public:
    explicit CodeReader(ImageFileReader& reader) : m_reader(reader) {}

    // The next code of `width` bits, or -1 when the data end.
    int Next(int width)
    {
        while (m_count < width) {
            if (m_left == 0) {
                uint8_t size;
                if (m_ended || !m_reader.U8(size) || size == 0) {
                    m_ended = true;
                    return -1;
                }
                m_left = size;
            }
            uint8_t byte;
            if (!m_reader.U8(byte)) {
                m_ended = true;
                return -1;
            }
            --m_left;
            m_bits |= uint32_t(byte) << m_count;
            m_count += 8;
        }
        int code = int(m_bits & ((1u << width) - 1));
        m_bits >>= width;
        m_count -= width;
        return code;
    }

    // Moves past the rest of the data, to just after the empty sub-block.
    bool Finish()
    {
        if (m_ended)
            return true;
        return m_reader.Skip(m_left) && SkipSubBlocks(m_reader);
    }

private:
    ImageFileReader& m_reader;
    uint32_t m_bits = 0;
    int m_count = 0;
    int m_left = 0;
    bool m_ended = false;
};

bool DecodeLzw(ImageFileReader& reader, uint8_t* out, size_t pixelCount)
{
    size_t produced = 0;
    uint8_t minimum;
    bool ok = reader.U8(minimum) && minimum >= 1 && minimum <= 11;
    if (ok) {
        const int clear = 1 << minimum, end = clear + 1;
        uint16_t prefix[kMaxCodes];
        uint8_t suffix[kMaxCodes];
        uint8_t stack[kMaxCodes + 1];
        int width = minimum + 1, next = clear + 2;
        int previous = -1;
        uint8_t previousFirst = 0;
        CodeReader codes(reader);
        for (;;) {
            int code = codes.Next(width);
            if (code < 0 || code == end || code > next)
                break;
            if (code == clear) {
                width = minimum + 1;
                next = clear + 2;
                previous = -1;
                continue;
            }
            if (previous < 0) {
                if (code >= clear)
                    break;  // only a root code may follow a reset
                if (produced < pixelCount)
                    out[produced++] = uint8_t(code);
                previous = code;
                previousFirst = uint8_t(code);
                continue;
            }
            // The string of the code, last byte first; a code not yet in the
            // table is the previous string followed by its own first byte.
            int depth = 0, c = code;
            if (code == next) {
                stack[depth++] = previousFirst;
                c = previous;
            }
            while (c >= clear) {
                stack[depth++] = suffix[c];
                c = prefix[c];
            }
            stack[depth++] = uint8_t(c);
            const uint8_t first = uint8_t(c);
            while (depth > 0 && produced < pixelCount)
                out[produced++] = stack[--depth];
            // A full table takes no more strings; encoders may go on with
            // 12-bit codes before they clear it.
            if (next < kMaxCodes) {
                prefix[next] = uint16_t(previous);
                suffix[next] = first;
                ++next;
                if (next == (1 << width) && width < 12)
                    ++width;
            }
            previous = code;
            previousFirst = first;
        }
        ok = codes.Finish();
    }
    if (produced < pixelCount) {
        memset(out + produced, 0, pixelCount - produced);
        return false;
    }
    return ok;
}

struct ColourTable {
    int count;
    uint8_t rgb[256 * 3];
};

bool ReadColourTable(ImageFileReader& reader, uint8_t flags, ColourTable& table)
{
    table.count = 2 << (flags & 7);
    return reader.Read(table.rgb, size_t(table.count) * 3);
}

// Delay and transparency carried from the graphic control extensions.
struct FrameControl {
    int delay = 0;
    int transparent = -1;
};

bool ReadExtension(ImageFileReader& reader, FrameControl& control)
{
    uint8_t label;
    if (!reader.U8(label))
        return false;
    if (label != 0xF9)
        return SkipSubBlocks(reader);
    uint8_t last[255];
    uint8_t lastSize = 0;
    for (;;) {
        uint8_t size;
        if (!reader.U8(size))
            return false;
        if (size == 0)
            break;
        if (!reader.Read(last, size))
            return false;
        lastSize = size;
    }
    if (lastSize >= 4) {
        control.delay = last[1] | (last[2] << 8);
        // A control block without the transparency flag means none: keeping
        // an earlier frame's index would hide that colour in this frame.
        control.transparent = (last[0] & 1) ? last[3] : -1;
    }
    return true;
}

// One image descriptor and its data into an indexed image, or null.
// `budget` is what is left of the pixels all frames of a file may hold
// together; the frame's pixels are taken from it.
RasterImage* ReadFrame(ImageFileReader& reader, const ColourTable* global, const FrameControl& control,
                       int64_t* budget, int* left, int* top)
{
    uint16_t x, y, width, height;
    uint8_t flags;
    if (!reader.U16(x) || !reader.U16(y) || !reader.U16(width) || !reader.U16(height) || width == 0 ||
        height == 0 || !reader.U8(flags))
        return nullptr;
    *left = x;
    *top = y;
    ColourTable local;
    const ColourTable* table = global;
    if (flags & 0x80) {
        if (!ReadColourTable(reader, flags, local))
            return nullptr;
        table = &local;
    }
    if (!table)
        return nullptr;  // no colours to show the indices with
    if (!ImageSizeAllowed(width, height) || int64_t(width) * height > *budget)
        return nullptr;
    *budget -= int64_t(width) * height;

    RasterImage* image = CreateRasterImage(PixelType::Indexed, width, height);
    const size_t pixels = size_t(width) * height;
    uint8_t* indices = image ? static_cast<uint8_t*>(MKAlloc(pixels)) : nullptr;
    if (!indices || !DecodeLzw(reader, indices, pixels)) {
        MKFree(indices);
        if (image)
            image->Release();
        return nullptr;
    }

    bool transparentUsed = false;
    if (control.transparent >= 0)
        transparentUsed = memchr(indices, control.transparent, pixels) != nullptr;
    if (table->count < 256) {
        for (size_t i = 0; i < pixels; ++i) {
            if (indices[i] >= table->count)
                indices[i] = uint8_t(table->count - 1);
        }
    }
    // Rows come in order, or in the four interlace passes.
    static const int kPasses[4][2] = {{0, 8}, {4, 8}, {2, 4}, {1, 2}};
    int decoded = 0;
    for (int pass = 0; pass < ((flags & 0x40) ? 4 : 1); ++pass) {
        const int start = (flags & 0x40) ? kPasses[pass][0] : 0;
        const int step = (flags & 0x40) ? kPasses[pass][1] : 1;
        for (int row = start; row < height; row += step, ++decoded)
            memcpy(image->GetTopRow(row), indices + size_t(decoded) * width, width);
    }
    MKFree(indices);

    IndexedImage* indexed = image->AsIndexed();
    indexed->SetPaletteRgb(table->count, table->rgb);
    if (transparentUsed) {
        indexed->SetPaletteType(PixelType::Rgba);
        indexed->SetPaletteAlpha(control.transparent, 0);
    }
    image->SetFileType(ImageFileType::Gif);
    return image;
}

bool Decode(ImageFileReader& reader, GifFrameList* frames, RasterImage** outImage)
{
    uint8_t screen[4], flags, background, aspect;
    if (!ReadSignature(reader) || !reader.Read(screen, 4) || !reader.U8(flags) || !reader.U8(background) ||
        !reader.U8(aspect))
        return false;
    ColourTable* global = nullptr;
    if (flags & 0x80) {
        global = static_cast<ColourTable*>(MKAlloc(sizeof(ColourTable)));
        if (!global || !ReadColourTable(reader, flags, *global)) {
            MKFree(global);
            return false;
        }
    }
    FrameControl control;
    // An animation is held whole in memory: its frames together are bounded
    // like one picture, so many small frames cannot add up past it.
    int64_t budget = kMaxImagePixels;
    bool ok = true, done = false;
    uint8_t block;
    while (ok && !done && reader.U8(block) && block != ';') {
        if (block == '!') {
            ok = ReadExtension(reader, control);
        } else if (block == ',') {
            int left = 0, top = 0;
            RasterImage* image = ReadFrame(reader, global, control, &budget, &left, &top);
            if (!image) {
                ok = false;
            } else if (outImage) {
                *outImage = image;
                done = true;
            } else {
                ok = frames && frames->AddFrame(image, control.delay, left, top);
                image->Release();
            }
        }
    }
    MKFree(global);
    if (outImage)
        return ok && done;
    return ok && frames && frames->GetCount() > 0;
}

}  // namespace

bool GifReadSize(FILE* file, int* width, int* height)
{
    if (!file)
        return false;
    ImageFileReader reader(file);
    uint8_t screen[7];
    if (!ReadSignature(reader) || !reader.Read(screen, 7))
        return false;
    if ((screen[4] & 0x80) && !reader.Skip(3u * (2u << (screen[4] & 7))))
        return false;
    for (;;) {
        uint8_t block;
        if (!reader.U8(block))
            return false;
        if (block == ';') {
            if (width)
                *width = 0;
            if (height)
                *height = 0;
            return true;
        }
        if (block == '!') {
            uint8_t label;
            if (!reader.U8(label) || !SkipSubBlocks(reader))
                return false;
        } else if (block == ',') {
            uint16_t left, top, w, h;
            if (!reader.U16(left) || !reader.U16(top) || !reader.U16(w) || !reader.U16(h) || w == 0 || h == 0)
                return false;
            if (width)
                *width = w;
            if (height)
                *height = h;
            return true;
        }
    }
}

bool GifDecode(FILE* file, GifFrameList* frames, RasterImage** outImage)
{
    if (!file || (!frames && !outImage))
        return false;
    ImageFileReader reader(file);
    return Decode(reader, frames, outImage);
}

RasterImage* GifLoadFirstFrame(FILE* file)
{
    RasterImage* image = nullptr;
    return GifDecode(file, nullptr, &image) ? image : nullptr;
}

RasterImage* GifLoadFirstFrameData(const uint8_t* data, size_t size)
{
    if (!data)
        return nullptr;
    ImageFileReader reader(data, size);
    RasterImage* image = nullptr;
    return Decode(reader, nullptr, &image) ? image : nullptr;
}

bool GifDecodeLzw(FILE* file, uint8_t* buffer, size_t pixelCount)
{
    if (!file || !buffer)
        return false;
    ImageFileReader reader(file);
    return DecodeLzw(reader, buffer, pixelCount);
}
