#pragma once
#include <windows.h>
#include <oleauto.h>
#include <stdint.h>

class MKCoTaskMemBuffer;

// Effect data as text, for the places PowerPoint saves with a presentation
// (command behaviours, shape tags). A text is an optional "VistelloEffectData:"
// prefix, the version letter "a", a mode letter and the mode's payload:
// modes 'a' and 'b' base-85 of the record, 'c' base-64, 'd' (what we write) a
// fresh 4-byte key in base-85 followed by base-85 of the record scrambled with
// it. The record is 0x01, a 32-bit little-endian length L and L data bytes.
// Base-85 here uses the codec's own alphabet, least significant digit first.
class EffectDataCodec {
public:
    enum Mode { kPlain1 = 1, kPlain2 = 2, kBase64 = 3, kScrambled = 4 };

    static constexpr int kMaxTextLength = 5241854;
    // The most bytes a mode-4 block may hold so that its text stays within
    // kMaxTextLength: chunked tag data is cut into blocks of this size.
    static constexpr int kMaxBlockBytes = 4193479;
    static constexpr wchar_t kPrefix[] = L"VistelloEffectData:";
    static constexpr int kPrefixLength = 19;

    // The text of `length` bytes (null bytes or a negative length: an empty
    // record) in mode 4. E_FAIL when it would pass kMaxTextLength,
    // E_OUTOFMEMORY when the string cannot be had; *text is null then.
    static HRESULT Encode(const uint8_t* bytes, int length, bool withPrefix, BSTR* text);
    // The data of a text of any mode, in a block of task memory the caller
    // takes over. E_POINTER for no text, E_FAIL for a malformed one,
    // E_OUTOFMEMORY when the block cannot be had. `version` and `mode` (may
    // be null) receive the two letters minus 0x60 as read, before checks.
    static HRESULT Decode(const wchar_t* text, int textLength, bool withPrefix, MKCoTaskMemBuffer& data, int* length,
                          int* version, int* mode);

    // Characters of the payload for n bytes in a mode (no prefix or letters).
    static int EncodedLength(int n, int mode);
    // Bytes to reserve for decoding t payload characters of a mode.
    static int DecodedCapacity(int t, int mode);

    // A bare payload: in mode 4 draws a key, writes it, scrambles `bytes` in
    // place and encodes them, unscrambling them again when `restore` is set.
    // False for another mode or when `capacity` is below EncodedLength.
    static bool EncodeBlock(uint8_t* bytes, int length, wchar_t* out, int capacity, int mode, bool restore);
    // Decodes a bare payload into `out`, which holds DecodedCapacity(count,
    // mode) bytes. Mode 4 needs more than 4 characters and a key group of 5;
    // modes 1 to 3 answer true with *length 0 for text the base-85 or base-64
    // reader refuses. False for other modes.
    static bool DecodeBlock(const wchar_t* chars, int count, uint8_t* out, int* length, int mode);
};

// Scrambling over the package key table with a 32-bit key; the start index
// comes from the key through the update engine's generator, and every word
// chains the index on from its scrambled value.
void ScrambleWithKey(void* buffer, int length, uint32_t key);
void UnscrambleWithKey(void* buffer, int length, uint32_t key);
