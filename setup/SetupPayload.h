#pragma once
#include <windows.h>

// The installer program as the setup carries it (resource "BIN" 500), all
// integers little-endian:
//   i32 n = -1, then the program stored unchanged; or
//   i32 n, 5 bytes of LZMA properties, then a raw LZMA1 stream that decodes
//   to exactly n bytes of program (at most 64 MiB).

// Failure codes of UnpackPayload; the setup program ends with them.
enum SetupPayloadError {
    kPayloadTooShort = 101,
    kStoredWriteFailed = 102,
    kStoredWrittenShort = 103,
    kCompressedTooShort = 104,
    kPropertiesRefused = 105,
    kNoMemoryForInstaller = 106,
    kDecodingFailed = 107,
    kUnpackedWriteFailed = 108,
    kUnpackedWrittenShort = 109,
};

// Writes the installer program of the payload's size bytes to the open file;
// 0 or one of the codes above. A stream that stops before n bytes, goes on
// past them, or cannot be decoded to its end, fails as a whole: nothing of it
// is written.
int UnpackPayload(const void* data, DWORD size, HANDLE file);
