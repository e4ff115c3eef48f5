#pragma once
#include "slidecontrol/MovieProperties.h"
#include "slidecontrol/SwfHeaderReader.h"

#include <stdint.h>

class MKInStream;
class MKOutStream;

// The slide movie control's persisted data ("Contents"): two magic words, the
// movie property block (version 2 written; 1 and 2 read) and the extent in
// HIMETRIC. Plain code over the library's streams.
enum : uint32_t {
    kControlRecordMagic1 = 0x74958E44,
    kControlRecordMagic2 = 0x58F54848,
};
enum { MKStreamErrorNotControlRecord = -1001 };

struct ControlExtent {
    int32_t cx = 0;
    int32_t cy = 0;
};

// What a load found: the header read from the movie bytes (all zero when they
// hold none), whether there were movie bytes at all, and the extent.
struct ControlRecordLoad {
    SwfHeaderInfo header;
    bool hasMovieBytes = false;
    bool extentRead = false;
    ControlExtent extent;
};

// 0, or the first error: MKStreamErrorEnd (the data ends early, or a movie
// length claims more bytes than the stream has left), MKStreamErrorNoMemory
// (the movie cannot be held; nothing after its length is read) or
// MKStreamErrorNotControlRecord. Fields read before a failure stay in
// properties; the extent is read only after a whole block.
int ReadControlRecord(MKInStream& input, MovieProperties& properties, ControlRecordLoad& load);
int ReadPropertyBlock(MKInStream& input, MovieProperties& properties, ControlRecordLoad& load);

// 0, or the output's first error.
int WriteControlRecord(MKOutStream& output, const MovieProperties& properties, const ControlExtent& extent);
void WritePropertyBlock(MKOutStream& output, const MovieProperties& properties);
