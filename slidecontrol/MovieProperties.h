#pragma once
#include "base/MKTArray.h"

#include <stdint.h>

// What the slide movie control keeps of its movie in the presentation: the
// whole SWF file and the playing properties. The header fields are never
// stored: they are read from the movie bytes again.
struct MovieProperties {
    MKByteArray movie;
    int32_t scaleMode = 2;
    int32_t quality = 2;  // 0 Low, 1 Medium, 2 High
    bool background = false;
    uint32_t backgroundColour = 0xFFFFFF;
    bool loop = true;
    bool autoPlay = true;
    int32_t startFrame = 0;
    bool extraFlag = false;
};
