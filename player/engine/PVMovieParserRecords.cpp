// Readers of the format's common records.
#include "player/engine/PVMovieParser.h"

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
    PVBitReader bits = Bits();
    const int n = static_cast<int>(bits.UBits(5));
    PVRect rect;
    rect.xmin = bits.SBits(n);
    rect.xmax = bits.SBits(n);
    rect.ymin = bits.SBits(n);
    rect.ymax = bits.SBits(n);
    EndBits(bits);
    return rect;
}

PVMatrix PVMovieParser::ReadMatrix()
{
    bitCount_ = 0;
    PVBitReader bits = Bits();
    PVMatrix matrix;
    if (bits.UBits(1)) {
        const int n = static_cast<int>(bits.UBits(5));
        matrix.scaleX = bits.SBits(n) / 65536.0f;
        matrix.scaleY = bits.SBits(n) / 65536.0f;
    }
    if (bits.UBits(1)) {
        const int n = static_cast<int>(bits.UBits(5));
        matrix.rotateSkew0 = bits.SBits(n) / 65536.0f;
        matrix.rotateSkew1 = bits.SBits(n) / 65536.0f;
    }
    const int n = static_cast<int>(bits.UBits(5));
    matrix.translateX = static_cast<float>(bits.SBits(n));
    matrix.translateY = static_cast<float>(bits.SBits(n));
    EndBits(bits);
    return matrix;
}

PVCxform PVMovieParser::ReadCxform(bool withAlpha)
{
    bitCount_ = 0;
    PVBitReader bits = Bits();
    const uint32_t head = bits.UBits(6);
    const int n = static_cast<int>(head & 0x0F);
    PVCxform cxform;
    if (head & 0x10) {
        cxform.multRed = static_cast<int16_t>(bits.SBits(n));
        cxform.multGreen = static_cast<int16_t>(bits.SBits(n));
        cxform.multBlue = static_cast<int16_t>(bits.SBits(n));
        if (withAlpha)
            cxform.multAlpha = static_cast<int16_t>(bits.SBits(n));
    }
    if (head & 0x20) {
        cxform.addRed = static_cast<int16_t>(bits.SBits(n));
        cxform.addGreen = static_cast<int16_t>(bits.SBits(n));
        cxform.addBlue = static_cast<int16_t>(bits.SBits(n));
        if (withAlpha)
            cxform.addAlpha = static_cast<int16_t>(bits.SBits(n));
    }
    EndBits(bits);
    return cxform;
}
