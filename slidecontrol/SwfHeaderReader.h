#pragma once
#include <stdint.h>

class MKInStream;

// The header of a SWF file: signature, version, declared length, and from the
// (inflated, for "CWS") body the frame rectangle, rate and count.
struct SwfHeaderInfo {
    int32_t version = 0;
    bool compressed = false;
    int32_t width = 0;  // pixels
    int32_t height = 0;
    float frameRate = 0;
    int32_t frameCount = 0;
    int32_t fileLength = 0;
};

// Reads the header from the start of a stream that holds a SWF file. False for
// fewer than 8 bytes, a signature other than "FWS" or "CWS", a declared length
// of 20 or less, a frame of no width or height, or a body that ends (or fails
// to inflate) inside the fields read.
bool ReadSwfHeader(MKInStream& input, SwfHeaderInfo& header);
