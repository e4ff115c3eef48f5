#include "player/engine/PVMp3Frame.h"

namespace {

// kbit/s by bitrate index; index 0 (free format) and 15 (invalid) are 0.
constexpr int kBitrates[2][3][16] = {
    // MPEG-1: layers I, II, III
    {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},
     {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},
     {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0}},
    // MPEG-2 and 2.5: layers I, II, III
    {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0}},
};

// Hz by version field (0 MPEG-2.5, 2 MPEG-2, 3 MPEG-1) and rate index; index 3
// is reserved.
constexpr int kSampleRates[4][4] = {
    {11025, 12000, 8000, 0},
    {0, 0, 0, 0},
    {22050, 24000, 16000, 0},
    {44100, 48000, 32000, 0},
};

}  // namespace

bool PVReadMp3Frame(uint8_t b1, uint8_t b2, PVMp3Frame& frame)
{
    if (b1 <= 0xDF)
        return false;
    const int version = (b1 >> 3) & 3;
    const int layerBits = (b1 >> 1) & 3;  // 3 is layer I, 1 layer III
    if (version == 1 || layerBits == 0)
        return false;
    const bool mpeg1 = version == 3;
    const int layer = 4 - layerBits;
    const int bitrate = kBitrates[mpeg1 ? 0 : 1][layer - 1][b2 >> 4];
    const int rate = kSampleRates[version][(b2 >> 2) & 3];
    if (bitrate == 0 || rate == 0)
        return false;
    const int k = layer == 1 ? (mpeg1 ? 48000 : 24000) : (mpeg1 ? 144000 : 72000);
    frame.bitrate = bitrate;
    frame.sampleRate = rate;
    frame.length = ((b2 >> 1) & 1) + bitrate * k / rate;
    return frame.length >= 4;
}
