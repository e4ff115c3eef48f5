#include "addin/imaging/drawing/BitmapText.h"

#include "addin/imaging/drawing/PremulColor.h"

#include <stdio.h>
#include <wchar.h>

namespace {

void PutByte(std::wstring& text, uint32_t byte)
{
    text.push_back(wchar_t(0x40 + (byte >> 4)));
    text.push_back(wchar_t(0x40 + (byte & 0xF)));
}

// A positive decimal field of the header; false for anything else.
bool ParseField(const wchar_t* begin, const wchar_t* end, int* value)
{
    if (begin == end)
        return false;
    long long v = 0;
    for (const wchar_t* p = begin; p < end; ++p) {
        if (*p < L'0' || *p > L'9')
            return false;
        v = v * 10 + (*p - L'0');
        if (v > INT32_MAX)
            return false;
    }
    *value = int(v);
    return v > 0;
}

}  // namespace

std::wstring BitmapToText(const DrawBitmap& bitmap)
{
    std::wstring text;
    BitmapConfig config = bitmap.GetConfig();
    if (config != BitmapConfig::Argb8888 && config != BitmapConfig::A8)
        return text;
    int width = bitmap.GetWidth(), height = bitmap.GetHeight();
    bool opaque = bitmap.IsOpaque();
    int channels = opaque ? 3 : 4;
    wchar_t header[48];
    swprintf(header, 48, L"%d|%d|%d=", width, height, channels);
    text = header;
    if (bitmap.IsEmpty())
        return text;
    text.reserve(text.size() + size_t(width) * size_t(height) * size_t(channels) * 2);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint32_t c = bitmap.GetColor(x, y);
            if (!opaque)
                PutByte(text, ColorAlpha(c));
            PutByte(text, ColorRed(c));
            PutByte(text, ColorGreen(c));
            PutByte(text, ColorBlue(c));
        }
    }
    return text;
}

bool BitmapFromText(const wchar_t* text, DrawBitmap& bitmap)
{
    bitmap.Reset();
    if (!text || !*text)
        return false;
    const wchar_t* equals = wcschr(text, L'=');
    if (!equals)
        return false;
    const wchar_t* fields[4] = {text, nullptr, nullptr, nullptr};
    int count = 1;
    for (const wchar_t* p = text; p < equals && count < 4; ++p)
        if (*p == L'|')
            fields[count++] = p + 1;
    if (count < 3)
        return false;
    const wchar_t* ends[3] = {fields[1] - 1, fields[2] - 1, count > 3 ? fields[3] - 1 : equals};
    int width, height, channels;
    if (!ParseField(fields[0], ends[0], &width) || !ParseField(fields[1], ends[1], &height) ||
        !ParseField(fields[2], ends[2], &channels))
        return false;
    int perPixel = channels == 3 ? 6 : 8;
    const wchar_t* data = equals + 1;
    size_t available = wcslen(data);
    if (uint64_t(width) * uint64_t(height) * uint64_t(perPixel) > available)
        return false;
    if (!bitmap.Allocate(BitmapConfig::Argb8888, width, height))
        return false;
    auto byte = [&data]() {
        uint32_t value = uint32_t(data[0] & 0xF) << 4 | uint32_t(data[1] & 0xF);
        data += 2;
        return value;
    };
    for (int y = 0; y < height; ++y) {
        uint32_t* row = bitmap.Row32(y);
        for (int x = 0; x < width; ++x) {
            uint32_t a = perPixel == 8 ? byte() : 255;
            uint32_t r = byte(), g = byte(), b = byte();
            row[x] = PremultiplyArgb(a, r, g, b);
        }
    }
    bitmap.SetOpaque(channels == 3);
    return true;
}
