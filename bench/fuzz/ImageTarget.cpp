// Picture files through LoadImageFile and the size query, as the add-in
// reads them; GIF animations frame by frame; PNG and JPEG also from memory.
#include <windows.h>
#include <zlib.h>

#include <cstdio>

#include "FuzzTarget.h"
#include "addin/imaging/GifFrameList.h"
#include "addin/imaging/GifReader.h"
#include "addin/imaging/ImageFiles.h"
#include "addin/imaging/JpegCodec.h"
#include "addin/imaging/PngCodec.h"
#include "tests/fixtures/BmpWriter.h"
#include "tests/fixtures/GifWriter.h"

namespace {

// One scratch file per kind in the temporary folder, rewritten per input.
std::wstring ScratchPath(const std::string& kind)
{
    static wchar_t folder[MAX_PATH];
    if (!folder[0])
        GetTempPathW(MAX_PATH, folder);
    wchar_t name[64];
    swprintf(name, 64, L"vistello-fuzz-%lu%hs", GetCurrentProcessId(), kind.c_str());
    return std::wstring(folder) + name;
}

void AddWrittenSeeds(std::vector<FuzzInput>& seeds)
{
    BmpFields rle;
    rle.width = 6;
    rle.height = 3;
    rle.bitCount = 8;
    rle.compression = 1;
    rle.colorsUsed = 3;
    rle.colours = {0xFF0000, 0x00FF00, 0x0000FF};
    rle.data = {3, 1, 0, 3, 2, 0, 1, 0, 0, 0, 2, 1, 2, 0, 0, 1};
    seeds.push_back({MakeBmp(rle), ".bmp"});
    BmpFields fields565;
    fields565.width = 3;
    fields565.height = 2;
    fields565.bitCount = 16;
    fields565.compression = 3;
    fields565.afterHeader = {0x00, 0xF8, 0, 0, 0xE0, 0x07, 0, 0, 0x1F, 0, 0, 0};
    fields565.data.assign(16, 0x5A);
    seeds.push_back({MakeBmp(fields565), ".bmp"});

    GifFields gif;
    gif.width = 8;
    gif.height = 8;
    gif.globalColours = {0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00};
    for (int f = 0; f < 3; ++f) {
        GifFrameFields frame;
        frame.left = f;
        frame.top = f;
        frame.width = 5;
        frame.height = 4;
        frame.interlaced = f == 1;
        frame.control = true;
        frame.delay = 10 * f;
        frame.transparent = f == 2 ? 1 : -1;
        for (int i = 0; i < 20; ++i)
            frame.indices.push_back(uint8_t((i + f) % 4));
        gif.frames.push_back(frame);
    }
    seeds.push_back({MakeGif(gif), ".gif"});
}

void AddSeeds(const std::wstring& fixtures, std::vector<FuzzInput>& seeds)
{
    const std::wstring folder = fixtures + L"\\imaging";
    AddSeedFiles(folder, L".bmp", ".bmp", seeds);
    AddSeedFiles(folder, L".gif", ".gif", seeds);
    AddSeedFiles(folder, L".jpg", ".jpg", seeds);
    AddSeedFiles(folder, L".png", ".png", seeds);
    AddWrittenSeeds(seeds);
}

void Run(const FuzzInput& input)
{
    const std::wstring path = ScratchPath(input.kind);
    FILE* file = _wfopen(path.c_str(), L"wb");
    if (!file)
        return;
    fwrite(input.bytes.data(), 1, input.bytes.size(), file);
    fclose(file);
    const MKString name(path.c_str());
    int width = 0, height = 0;
    ReadImageFileSize(name, &width, &height);
    if (RasterImage* image = LoadImageFile(name))
        image->Release();
    if (input.kind == ".gif") {
        if (FILE* gif = _wfopen(path.c_str(), L"rb")) {
            GifFrameList frames;
            GifDecode(gif, &frames, nullptr);
            fclose(gif);
        }
    } else if (input.kind == ".png" && !input.bytes.empty()) {
        if (RasterImage* image = PngDecode(input.bytes.data(), input.bytes.size()))
            image->Release();
    } else if (input.kind == ".jpg" && !input.bytes.empty()) {
        if (RasterImage* image = JpegDecode(input.bytes.data(), input.bytes.size(), nullptr, nullptr))
            image->Release();
    }
}

// Chunk checksums made right again, so most mutations of a PNG reach the
// decoder instead of its checksum test.
void FixUp(FuzzInput& input)
{
    if (input.kind != ".png")
        return;
    std::vector<uint8_t>& b = input.bytes;
    size_t at = 8;
    while (at + 12 <= b.size()) {
        const uint32_t length = uint32_t(b[at]) << 24 | b[at + 1] << 16 | b[at + 2] << 8 | b[at + 3];
        if (length > b.size() - at - 12)
            break;
        const uint32_t crc = uint32_t(crc32(0, b.data() + at + 4, uInt(length + 4)));
        const size_t end = at + 8 + length;
        b[end] = uint8_t(crc >> 24), b[end + 1] = uint8_t(crc >> 16), b[end + 2] = uint8_t(crc >> 8),
        b[end + 3] = uint8_t(crc);
        at = end + 4;
    }
}

}  // namespace

const FuzzTarget& ImageTarget()
{
    static const FuzzTarget target = {"image", AddSeeds, Run, FixUp};
    return target;
}
