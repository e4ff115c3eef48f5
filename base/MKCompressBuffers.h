#pragma once
#include "base/MKTArray.h"

#include <stdint.h>

// Whole-buffer deflate, inflate and LZMA decoding. raw selects raw deflate (no
// header or checksum) over the zlib format; levels are 0..9. Every function
// answers false for damaged, truncated or oversized input and for exhausted
// memory; the arrays they fill are emptied (freed) on failure.

// Deflates n bytes into destination[0..capacity) in one pass; *produced is the
// compressed length (0 on failure). An empty source in raw mode gives no bytes.
bool MKCompressBuffer(const void* source, int n, void* destination, int capacity, int* produced, int level,
                      bool raw);
// Inflates n bytes into destination[0..capacity) in one pass; true only when the
// compressed data ends within the input and its output fits.
bool MKUncompressBuffer(const void* source, int n, void* destination, int capacity, int* produced, bool raw);
// Deflates into out, sized by zlib's own bound so that any input fits, then cut
// to the compressed length.
bool MKCompressToArray(const void* source, int n, MKByteArray& out, int level, bool raw);
// Inflates source into destination's current bytes (the caller sets its count to
// the expected length); on success the count becomes the inflated length.
bool MKUncompressToArray(const MKByteArray& source, MKByteArray& destination, bool raw);
// Inflates data of no stated length into out (emptied first), growing it 8192
// bytes a step. Data that inflates to more than limit bytes is refused as soon
// as its output passes the limit, so hostile input costs no more memory than
// about the limit.
bool MKInflateToArray(const void* source, int n, MKByteArray& out, bool raw, int limit = INT32_MAX);
// Decodes the raw LZMA form (5 property bytes, then the raw LZMA1 stream) into
// destination[0..capacity): up to the stream's end marker or until the output is
// full. False when the properties are bad, the data is damaged or ends before
// either. *produced is the decoded length.
bool MKLzmaDecodeBuffer(const void* source, int n, void* destination, int capacity, int* produced);
