// The bit-level reader and the readers of the format's common records.
#include "player/engine/PVMovieParser.h"

uint32_t PVMovieParser::ReadUBitsPastEnd(int n)
{
    uint64_t buffer = bitBuffer_;
    uint32_t count = bitCount_;
    while (count < static_cast<uint32_t>(n)) {
        if (pos_ >= end_) {
            overrun_ = true;
            buffer <<= 8;
        } else {
            buffer = buffer << 8 | image_[pos_++];
        }
        count += 8;
    }
    count -= n;
    const uint32_t value = static_cast<uint32_t>((buffer >> count) & ((uint64_t{1} << n) - 1));
    bitCount_ = count;
    bitBuffer_ = static_cast<uint32_t>(buffer & ((1u << count) - 1));
    return value;
}

PVRGBA PVMovieParser::ReadRGB(bool withAlpha)
{
    PVRGBA color;
    color.red = ReadU8();
    color.green = ReadU8();
    color.blue = ReadU8();
    color.alpha = withAlpha ? ReadU8() : 255;
    return color;
}

PVRect PVMovieParser::ReadRect()
{
    bitCount_ = 0;
    const int bits = static_cast<int>(ReadUBits(5));
    PVRect rect;
    rect.xmin = ReadSBits(bits);
    rect.xmax = ReadSBits(bits);
    rect.ymin = ReadSBits(bits);
    rect.ymax = ReadSBits(bits);
    return rect;
}

PVMatrix PVMovieParser::ReadMatrix()
{
    bitCount_ = 0;
    PVMatrix matrix;
    if (ReadUBits(1)) {
        const int bits = static_cast<int>(ReadUBits(5));
        matrix.scaleX = ReadSBits(bits) / 65536.0f;
        matrix.scaleY = ReadSBits(bits) / 65536.0f;
    }
    if (ReadUBits(1)) {
        const int bits = static_cast<int>(ReadUBits(5));
        matrix.rotateSkew0 = ReadSBits(bits) / 65536.0f;
        matrix.rotateSkew1 = ReadSBits(bits) / 65536.0f;
    }
    const int bits = static_cast<int>(ReadUBits(5));
    matrix.translateX = static_cast<float>(ReadSBits(bits));
    matrix.translateY = static_cast<float>(ReadSBits(bits));
    return matrix;
}

PVCxform PVMovieParser::ReadCxform(bool withAlpha)
{
    bitCount_ = 0;
    const bool hasAdd = ReadUBits(1);
    const bool hasMult = ReadUBits(1);
    const int bits = static_cast<int>(ReadUBits(4));
    PVCxform cxform;
    if (hasMult) {
        cxform.multRed = static_cast<int16_t>(ReadSBits(bits));
        cxform.multGreen = static_cast<int16_t>(ReadSBits(bits));
        cxform.multBlue = static_cast<int16_t>(ReadSBits(bits));
        if (withAlpha)
            cxform.multAlpha = static_cast<int16_t>(ReadSBits(bits));
    }
    if (hasAdd) {
        cxform.addRed = static_cast<int16_t>(ReadSBits(bits));
        cxform.addGreen = static_cast<int16_t>(ReadSBits(bits));
        cxform.addBlue = static_cast<int16_t>(ReadSBits(bits));
        if (withAlpha)
            cxform.addAlpha = static_cast<int16_t>(ReadSBits(bits));
    }
    return cxform;
}
