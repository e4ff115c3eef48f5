#include "standins/flash/BackgroundPicture.h"

#include <cstdint>
#include <cwchar>

namespace standin {
namespace {

const uint32_t kMagic = 0x4845A3C8;

uint32_t ReadU32(const std::string& bytes, size_t offset)
{
    return static_cast<uint32_t>(static_cast<unsigned char>(bytes[offset])) |
           static_cast<uint32_t>(static_cast<unsigned char>(bytes[offset + 1])) << 8 |
           static_cast<uint32_t>(static_cast<unsigned char>(bytes[offset + 2])) << 16 |
           static_cast<uint32_t>(static_cast<unsigned char>(bytes[offset + 3])) << 24;
}

std::wstring Colour(uint32_t value)
{
    wchar_t text[12];
    swprintf(text, 12, L"%08X", value);
    return text;
}

}  // namespace

std::wstring DescribeBackgroundPicture(const std::string& bytes)
{
    if (bytes.size() < 12)
        return L"rejected: " + std::to_wstring(bytes.size()) + L" bytes";
    if (ReadU32(bytes, 0) != kMagic)
        return L"rejected: bad magic";
    uint32_t kind = ReadU32(bytes, 4);
    if (kind == 1) {
        if (bytes.size() != 12)
            return L"rejected: uniform picture of " + std::to_wstring(bytes.size()) + L" bytes";
        return L"uniform " + Colour(ReadU32(bytes, 8));
    }
    if (kind != 0 || bytes.size() < 16)
        return L"rejected: bad kind";
    uint64_t width = ReadU32(bytes, 8);
    uint64_t height = ReadU32(bytes, 12);
    if (width == 0 || height == 0 || bytes.size() != 16 + width * height * 4)
        return L"rejected: " + std::to_wstring(width) + L"x" + std::to_wstring(height) + L" in " +
               std::to_wstring(bytes.size()) + L" bytes";
    // Pixels are alpha, red, green, blue in that byte order.
    uint32_t first = static_cast<uint32_t>(static_cast<unsigned char>(bytes[16])) << 24 |
                     static_cast<uint32_t>(static_cast<unsigned char>(bytes[17])) << 16 |
                     static_cast<uint32_t>(static_cast<unsigned char>(bytes[18])) << 8 |
                     static_cast<uint32_t>(static_cast<unsigned char>(bytes[19]));
    return std::to_wstring(width) + L"x" + std::to_wstring(height) + L" top-left " + Colour(first);
}

}  // namespace standin
