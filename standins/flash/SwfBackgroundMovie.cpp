#include "standins/flash/SwfBackgroundMovie.h"

#include <algorithm>
#include <cstdint>

namespace standin {

namespace {

constexpr int kMaxFrames = 10000;

uint32_t Little(const std::string& bytes, size_t at, int count)
{
    uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = (value << 8) | static_cast<uint8_t>(bytes[at + i]);
    return value;
}

}  // namespace

bool ParseSwfBackgroundMovie(const std::string& bytes, MovieScript& script, std::wstring& error)
{
    script = MovieScript();
    if (bytes.size() < 9 || bytes.compare(0, 3, "FWS") != 0) {
        error = L"not an uncompressed SWF movie";
        return false;
    }
    // The frame rectangle: 5 bits of field size, then four fields.
    const int bits = static_cast<uint8_t>(bytes[8]) >> 3;
    size_t position = 8 + (5 + 4 * bits + 7) / 8;
    if (position + 4 > bytes.size()) {
        error = L"truncated SWF header";
        return false;
    }
    script.rate = std::clamp(static_cast<int>(static_cast<uint8_t>(bytes[position + 1])), 1, 1000);
    const int frames = std::clamp(static_cast<int>(Little(bytes, position + 2, 2)), 1, kMaxFrames);
    position += 4;
    uint32_t background = 0xFFFFFFFF;
    while (position + 2 <= bytes.size()) {
        const uint32_t header = Little(bytes, position, 2);
        position += 2;
        const uint32_t code = header >> 6;
        uint32_t length = header & 0x3F;
        if (length == 0x3F) {
            if (position + 4 > bytes.size())
                break;
            length = Little(bytes, position, 4);
            position += 4;
        }
        if (code == 0 || code == 1 || length > bytes.size() - position)
            break;  // the end, the first frame or a damaged tag
        if (code == 9 && length >= 3)
            background = 0xFF000000 | Little(bytes, position, 1) << 16 | Little(bytes, position + 1, 1) << 8 |
                         Little(bytes, position + 2, 1);
        position += length;
    }
    script.frames.assign(static_cast<size_t>(frames), background);
    return true;
}

}  // namespace standin
