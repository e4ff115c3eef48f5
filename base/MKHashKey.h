#pragma once
#include "base/MKString.h"

#include <stdint.h>

// Hash of n characters: sum of (c[i] - 113) * 67^i over all of them up to 27
// characters; for longer texts over nine of them (the last one and eight spread
// down to the first). 32-bit arithmetic that wraps; 0 for n <= 0. Stored maps
// depend on these exact values.
uint32_t MKHashText(const wchar_t* chars, int n);

// A string key with its hash, ready for the lookups of MKHashMap.
class MKHashKey {
public:
    // Hashes the string (implicit, so maps take strings directly).
    MKHashKey(const MKString& key) : m_key(key), m_hash(MKHashText(key.GetText(), key.GetLength())) {}
    // Takes a hash the caller already has.
    MKHashKey(const MKString& key, uint32_t hash) : m_key(key), m_hash(hash) {}
    // Copies n characters and hashes them.
    MKHashKey(const wchar_t* chars, int n)
        : m_key(MKString::MKStringFromChars(chars, n)), m_hash(MKHashText(m_key.GetText(), m_key.GetLength()))
    {
    }
    MKHashKey(const wchar_t* chars, int n, uint32_t hash) : m_key(MKString::MKStringFromChars(chars, n)), m_hash(hash) {}

    const MKString& GetKey() const { return m_key; }
    uint32_t GetHash() const { return m_hash; }

private:
    MKString m_key;
    uint32_t m_hash;
};
