#include "ImageTestUtil.h"

#include "addin/imaging/IndexedImage.h"

#include <stdio.h>

std::vector<uint8_t> ReadBytes(const std::wstring& path)
{
    std::vector<uint8_t> bytes;
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (!file)
        return bytes;
    uint8_t chunk[65536];
    size_t n;
    while ((n = fread(chunk, 1, sizeof(chunk), file)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + n);
    fclose(file);
    return bytes;
}

bool WriteBytes(const std::wstring& path, const std::vector<uint8_t>& bytes)
{
    FILE* file = _wfopen(path.c_str(), L"wb");
    if (!file)
        return false;
    bool ok = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return fclose(file) == 0 && ok;
}

std::wstring ImageFixture(const std::wstring& name)
{
    return FixturePath((L"imaging\\" + name).c_str());
}

namespace {

// One pixel of a direct type (samples in that type's layout) as R, G, B, A.
void PixelToRgba(PixelType type, const uint8_t* s, uint8_t* px)
{
    px[3] = 255;
    switch (type) {
    case PixelType::Rgb:
        px[0] = s[0], px[1] = s[1], px[2] = s[2];
        break;
    case PixelType::Rgba:
        px[0] = s[0], px[1] = s[1], px[2] = s[2], px[3] = s[3];
        break;
    case PixelType::Alpha:
        px[0] = px[1] = px[2] = 255, px[3] = s[0];
        break;
    case PixelType::Gray:
        px[0] = px[1] = px[2] = s[0];
        break;
    case PixelType::GrayAlpha:
        px[0] = px[1] = px[2] = s[0], px[3] = s[1];
        break;
    default:
        px[0] = px[1] = px[2] = 0;
        break;
    }
}

}  // namespace

std::vector<uint8_t> ToRgbaTopDown(const RasterImage& image)
{
    std::vector<uint8_t> out;
    const IndexedImage* indexed = image.AsIndexed();
    for (int y = 0; y < image.GetHeight(); ++y) {
        const uint8_t* p = image.GetTopRow(y);
        for (int x = 0; x < image.GetWidth(); ++x) {
            uint8_t px[4];
            if (indexed) {
                // Entries hold colour in R, G, B (gray in R) and alpha in A.
                const uint8_t* e = indexed->GetPaletteEntry(p[x]);
                const uint8_t gray[2] = {e[0], e[3]};
                const uint8_t alpha = e[3];
                switch (indexed->GetPaletteType()) {
                case PixelType::Alpha:
                    PixelToRgba(PixelType::Alpha, &alpha, px);
                    break;
                case PixelType::Gray:
                case PixelType::GrayAlpha:
                    PixelToRgba(indexed->GetPaletteType(), gray, px);
                    break;
                default:
                    PixelToRgba(indexed->GetPaletteType(), e, px);
                    break;
                }
            } else {
                PixelToRgba(image.GetPixelType(), p + x * image.GetBytesPerPixel(), px);
            }
            out.insert(out.end(), px, px + 4);
        }
    }
    return out;
}

BytesFile::BytesFile(const std::vector<uint8_t>& bytes, const wchar_t* name) : m_path(m_folder.File(name))
{
    WriteBytes(m_path, bytes);
    m_file = _wfopen(m_path.c_str(), L"rb");
}

BytesFile::~BytesFile()
{
    if (m_file)
        fclose(m_file);
}
