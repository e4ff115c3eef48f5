#include "slidecontrol/SwfHeaderReader.h"

#include "base/MKInStream.h"
#include "base/MKInZStream.h"

namespace {

// Bits from the most significant end of each byte, as SWF records pack them.
class BitReader {
public:
    explicit BitReader(MKInStream& input) : m_input(input) {}

    uint32_t Unsigned(int count)
    {
        uint32_t value = 0;
        for (int i = 0; i < count; ++i) {
            if (m_left == 0) {
                uint8_t byte = 0;
                if (!m_input.ReadU8(&byte))
                    m_failed = true;
                m_byte = byte;
                m_left = 8;
            }
            --m_left;
            value = (value << 1) | ((m_byte >> m_left) & 1);
        }
        return value;
    }

    int32_t Signed(int count)
    {
        uint32_t value = Unsigned(count);
        if (count > 0 && count < 32 && (value & (1u << (count - 1))))
            value |= ~0u << count;
        return int32_t(value);
    }

    bool Failed() const { return m_failed; }

private:
    MKInStream& m_input;
    uint8_t m_byte = 0;
    int m_left = 0;
    bool m_failed = false;
};

bool ReadBody(MKInStream& body, SwfHeaderInfo& header)
{
    BitReader bits(body);
    int count = int(bits.Unsigned(5));
    int32_t xMin = bits.Signed(count);
    int32_t xMax = bits.Signed(count);
    int32_t yMin = bits.Signed(count);
    int32_t yMax = bits.Signed(count);
    if (bits.Failed())
        return false;
    header.width = int32_t((int64_t(xMax) - xMin) / 20);
    header.height = int32_t((int64_t(yMax) - yMin) / 20);
    if (header.width <= 0 || header.height <= 0)
        return false;
    uint16_t rate = 0;
    uint16_t frames = 0;
    if (!body.ReadU16(&rate) || !body.ReadU16(&frames))
        return false;
    header.frameRate = float(rate) / 256.0f;
    header.frameCount = frames;
    return true;
}

}  // namespace

bool ReadSwfHeader(MKInStream& input, SwfHeaderInfo& header)
{
    header = SwfHeaderInfo();
    uint8_t start[8];
    if (input.Read(start, 8) != 8)
        return false;
    if ((start[0] != 'F' && start[0] != 'C') || start[1] != 'W' || start[2] != 'S')
        return false;
    SwfHeaderInfo read;
    read.version = start[3];
    read.compressed = start[0] == 'C';
    read.fileLength = int32_t(uint32_t(start[4]) | uint32_t(start[5]) << 8 | uint32_t(start[6]) << 16 |
                              uint32_t(start[7]) << 24);
    if (read.fileLength <= 20)
        return false;
    bool ok;
    if (read.compressed) {
        MKInZStream inflated(&input);
        ok = ReadBody(inflated, read);
    } else {
        ok = ReadBody(input, read);
    }
    if (ok)
        header = read;
    return ok;
}
