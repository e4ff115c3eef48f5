#pragma once

// Codes that streams store as their error (0 means none). Streams keep the first
// code stored; the file streams also store minus errno values.
enum MKStreamError {
    MKStreamErrorEnd = -1,            // a read ran past the end of the data
    MKStreamErrorNoMemory = -12,      // an allocation (or a codec's set-up) failed
    MKStreamErrorNoTarget = -1000,    // a wrapping stream has no source or target
    MKStreamErrorCodecBase = -1100,   // plus a zlib result: the codec failed with it
    MKStreamErrorSourceFailed = -1101,  // the wrapped stream refused a read or write
    MKStreamErrorCorrupt = -1103      // the compressed data is damaged
};
