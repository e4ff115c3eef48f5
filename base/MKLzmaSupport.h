#pragma once
#include <lzma.h>
#include <stdint.h>

// The 5-byte header of the raw LZMA form: one byte of lc/lp/pb, then the
// little-endian dictionary size.
enum { MKLzmaPropertiesSize = 5 };

// Starts a raw LZMA1 decoder on a stream record set to LZMA_STREAM_INIT, with
// memory from the base allocator. A dictionary size above dictionaryLimit is
// lowered to it (no match reaches further back than the output is long). Answers
// LZMA_OK, LZMA_OPTIONS_ERROR for properties the decoder cannot take, or
// LZMA_MEM_ERROR.
lzma_ret MKLzmaDecoderInit(lzma_stream* stream, const uint8_t* properties, uint32_t dictionaryLimit);
