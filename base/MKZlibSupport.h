#pragma once

struct z_stream_s;

// Points a zlib stream record's memory hooks at the base allocator; call before
// zlib's init functions.
void MKRouteZlibMemory(z_stream_s* stream);

// Initialises a deflate record: raw deflate (no header or checksum, 15-bit
// window, memory level 8) or the zlib format, at level 0..9. False when zlib
// refuses (bad level or no memory).
bool MKDeflateInit(z_stream_s* stream, int level, bool raw);
// Initialises an inflate record for raw deflate or the zlib format.
bool MKInflateInit(z_stream_s* stream, bool raw);
