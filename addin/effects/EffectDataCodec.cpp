#include "addin/effects/EffectDataCodec.h"

#include <intrin.h>
#include <string.h>

#include "addin/update/PackageKeyTable.h"
#include "base/MKBase64.h"
#include "base/MKBase85.h"
#include "base/MKCoTaskMemBuffer.h"
#include "base/MKRandom.h"

namespace {

constexpr wchar_t kAlphabet[86] = L"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz!#$%()*+,-./:;=@[]^{|}~";
constexpr int kRecordHeader = 5;  // 0x01 and the 32-bit length
constexpr int kKeySymbols = 5;

const int8_t* Reverse()
{
    static const struct Table {
        Table() { MKBase85BuildReverse(kAlphabet, values); }
        int8_t values[256];
    } table;
    return table.values;
}

int Base85Length(int n)
{
    return 5 * (n / 4) + (n % 4 ? n % 4 + 1 : 0);
}

int Base85Encode(const uint8_t* bytes, int n, wchar_t* out)
{
    return MKBase85EncodeBuffer(kAlphabet, L'_', Reverse(), bytes, n, out, false);
}

// Characters above 0xFF fail in the shared reader: text that is not ours.
int Base85Decode(const wchar_t* chars, int n, uint8_t* out)
{
    return MKBase85DecodeBuffer(kAlphabet, L'_', Reverse(), chars, n, out);
}

uint32_t StartIndex(uint32_t key)
{
    const uint32_t* table = PackageKeyTable::Data();
    uint64_t state = key;
    for (int i = 0; i < 3; ++i)
        state = (state * MKRandom::kMultiplier + 11) & MKRandom::kMask;
    uint32_t u = uint32_t(state >> 16);
    for (int i = 0; i < 3; ++i)
        u ^= table[u & PackageKeyTable::kIndexMask];
    return u & PackageKeyTable::kIndexMask;
}

// Both directions chain the index through the scrambled word.
void ApplyKey(void* buffer, int length, uint32_t key, bool scramble)
{
    if (!buffer || length <= 0)
        return;
    const uint32_t* table = PackageKeyTable::Data();
    uint32_t index = StartIndex(key);
    auto* bytes = static_cast<uint8_t*>(buffer);
    for (int words = length / 4; words > 0; --words, bytes += 4) {
        uint32_t word;
        memcpy(&word, bytes, 4);
        const uint32_t changed = word ^ table[index];
        memcpy(bytes, &changed, 4);
        index = ((scramble ? changed : word) + index) & PackageKeyTable::kIndexMask;
    }
    if (const int tail = length & 3) {
        uint32_t value = 0;
        memcpy(&value, bytes, size_t(tail));
        value ^= table[index];
        memcpy(bytes, &value, size_t(tail));
    }
}

void PutLength(uint8_t* at, int32_t value)
{
    for (int i = 0; i < 4; ++i)
        at[i] = uint8_t(uint32_t(value) >> (8 * i));
}

}  // namespace

void ScrambleWithKey(void* buffer, int length, uint32_t key)
{
    ApplyKey(buffer, length, key, true);
}

void UnscrambleWithKey(void* buffer, int length, uint32_t key)
{
    ApplyKey(buffer, length, key, false);
}

int EffectDataCodec::EncodedLength(int n, int mode)
{
    switch (mode) {
    case kPlain1:
    case kPlain2:
        return Base85Length(n);
    case kBase64:
        return 4 * ((n + 2) / 3);
    case kScrambled:
        return Base85Length(n) + kKeySymbols;
    default:
        return -1;
    }
}

int EffectDataCodec::DecodedCapacity(int t, int mode)
{
    switch (mode) {
    case kPlain1:
    case kPlain2:
        return 4 * t / 5 + 3;
    case kBase64:
        return 3 * t / 4 + 2;
    case kScrambled:
        return t > 4 ? (4 * t - 20) / 5 + 3 : 0;
    default:
        return 0;
    }
}

bool EffectDataCodec::EncodeBlock(uint8_t* bytes, int length, wchar_t* out, int capacity, int mode, bool restore)
{
    if (length < 0 || (length > 0 && !bytes) || !out)
        return false;
    const int needed = EncodedLength(length, mode);
    if (needed < 0 || capacity < needed)
        return false;
    switch (mode) {
    case kPlain1:
    case kPlain2:
        Base85Encode(bytes, length, out);
        return true;
    case kBase64: {
        // The shared writer ends its text with a zero: without room for it
        // the text goes through a copy.
        if (capacity > needed) {
            MKBase64Encode(bytes, length, out);
            return true;
        }
        auto* copy = static_cast<wchar_t*>(HeapAlloc(GetProcessHeap(), 0, (size_t(needed) + 1) * sizeof(wchar_t)));
        if (!copy)
            return false;
        MKBase64Encode(bytes, length, copy);
        memcpy(out, copy, size_t(needed) * sizeof(wchar_t));
        HeapFree(GetProcessHeap(), 0, copy);
        return true;
    }
    case kScrambled: {
        uint8_t key[4];
        const uint32_t value = uint32_t(__rdtsc());
        PutLength(key, int32_t(value));
        Base85Encode(key, 4, out);
        ScrambleWithKey(bytes, length, value);
        Base85Encode(bytes, length, out + kKeySymbols);
        if (restore)
            UnscrambleWithKey(bytes, length, value);
        return true;
    }
    default:
        return false;
    }
}

bool EffectDataCodec::DecodeBlock(const wchar_t* chars, int count, uint8_t* out, int* length, int mode)
{
    if (length)
        *length = 0;
    if (!chars || !out || count < 0)
        return false;
    int decoded = 0;
    switch (mode) {
    case kPlain1:
    case kPlain2:
        decoded = Base85Decode(chars, count, out);
        break;
    case kBase64:
        decoded = MKBase64Decode(chars, count, out, DecodedCapacity(count, mode));
        break;
    case kScrambled: {
        if (count <= 4)
            return false;
        uint8_t key[4 + 3];
        if (Base85Decode(chars, kKeySymbols, key) != 4)
            return false;
        decoded = count > kKeySymbols ? Base85Decode(chars + kKeySymbols, count - kKeySymbols, out) : 0;
        if (decoded > 0) {
            const uint32_t value = uint32_t(key[0]) | uint32_t(key[1]) << 8 | uint32_t(key[2]) << 16 |
                                   uint32_t(key[3]) << 24;
            UnscrambleWithKey(out, decoded, value);
        }
        break;
    }
    default:
        return false;
    }
    if (length)
        *length = decoded;
    return true;
}

HRESULT EffectDataCodec::Encode(const uint8_t* bytes, int length, bool withPrefix, BSTR* text)
{
    if (!text)
        return E_POINTER;
    *text = nullptr;
    if (!bytes || length < 0)
        length = 0;
    // The record, scrambled in a copy so the caller's bytes stay as they are.
    if (length > kMaxTextLength)
        return E_FAIL;
    const int n = kRecordHeader + length;
    const int characters = EncodedLength(n, kScrambled) + 2 + (withPrefix ? kPrefixLength : 0);
    if (characters > kMaxTextLength)
        return E_FAIL;
    auto* record = static_cast<uint8_t*>(HeapAlloc(GetProcessHeap(), 0, size_t(n)));
    if (!record)
        return E_OUTOFMEMORY;
    record[0] = 0x01;
    PutLength(record + 1, length);
    if (length)
        memcpy(record + kRecordHeader, bytes, size_t(length));
    BSTR result = SysAllocStringLen(nullptr, UINT(characters));
    if (!result) {
        HeapFree(GetProcessHeap(), 0, record);
        return E_OUTOFMEMORY;
    }
    wchar_t* at = result;
    if (withPrefix) {
        memcpy(at, kPrefix, kPrefixLength * sizeof(wchar_t));
        at += kPrefixLength;
    }
    *at++ = L'a';
    *at++ = L'd';
    EncodeBlock(record, n, at, characters - int(at - result), kScrambled, false);
    HeapFree(GetProcessHeap(), 0, record);
    result[characters] = 0;
    *text = result;
    return S_OK;
}

HRESULT EffectDataCodec::Decode(const wchar_t* text, int textLength, bool withPrefix, MKCoTaskMemBuffer& data,
                                int* length, int* version, int* mode)
{
    if (length)
        *length = 0;
    if (!text)
        return E_POINTER;
    const int p = withPrefix ? kPrefixLength + 2 : 2;
    if (textLength < p)
        return E_FAIL;
    if (withPrefix && memcmp(text, kPrefix, kPrefixLength * sizeof(wchar_t)) != 0)
        return E_FAIL;
    const int versionLetter = int(text[p - 2]) - 0x60;
    const int modeLetter = int(text[p - 1]) - 0x60;
    if (version)
        *version = versionLetter;
    if (mode)
        *mode = modeLetter;
    if (versionLetter != 1 || modeLetter < kPlain1 || modeLetter > kScrambled)
        return E_FAIL;

    const int capacity = DecodedCapacity(textLength, modeLetter);
    auto* decoded = static_cast<uint8_t*>(HeapAlloc(GetProcessHeap(), 0, size_t(capacity > 0 ? capacity : 1)));
    if (!decoded)
        return E_OUTOFMEMORY;
    int count = 0;
    HRESULT hr = E_FAIL;
    if (DecodeBlock(text + p, textLength - p, decoded, &count, modeLetter) && count >= kRecordHeader &&
        decoded[0] == 0x01) {
        const int32_t stated = int32_t(uint32_t(decoded[1]) | uint32_t(decoded[2]) << 8 |
                                       uint32_t(decoded[3]) << 16 | uint32_t(decoded[4]) << 24);
        if (stated >= 0 && stated == count - kRecordHeader) {
            if (!data.Allocate(stated)) {
                hr = E_OUTOFMEMORY;
            } else {
                if (stated)
                    memcpy(data.Data(), decoded + kRecordHeader, size_t(stated));
                if (length)
                    *length = stated;
                hr = S_OK;
            }
        }
    }
    HeapFree(GetProcessHeap(), 0, decoded);
    return hr;
}
