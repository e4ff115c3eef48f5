#pragma once
#include <cstdint>

// The parts of an MPEG audio frame header (layers I to III, MPEG-1, 2 and
// 2.5) that tell how long the frame is in bytes and in time.
struct PVMp3Frame {
    int bitrate = 0;     // kbit/s
    int sampleRate = 0;  // Hz
    int length = 0;      // bytes, header included
};

// Decodes the header whose bytes are 0xFF, `b1`, `b2`. False when `b1` does
// not continue the sync word, or the version, layer, bitrate or sample rate
// is reserved or free-format: such bytes are no frame.
bool PVReadMp3Frame(uint8_t b1, uint8_t b2, PVMp3Frame& frame);
