#pragma once
#include "base/MKHashMap.h"

class MKTextBuffer;

// Map from string to string; the dictionary owns copies of its values. Keys
// compare exactly. One thread at a time.
class MKStringDictionary {
public:
    MKStringDictionary() = default;
    ~MKStringDictionary();
    MKStringDictionary(const MKStringDictionary&) = delete;
    MKStringDictionary& operator=(const MKStringDictionary&) = delete;

    int GetCount() const { return m_map.GetCount(); }
    // Shares the stored value into out; false (out untouched) when absent.
    bool Get(const MKString& key, MKString& out) const;
    // Stores a copy of the value, replacing the old one; false when memory runs
    // out.
    bool Set(const MKString& key, const MKString& value);
    void Remove(const MKString& key);

    // name=value pairs joined by '&', each form-encoded (MKFormEncodeAppend), in
    // the map's iteration order; empty for an empty dictionary and when memory
    // runs out.
    MKString ToFormString() const;

private:
    MKHashMap m_map;
};

// Appends the HTML-form encoding of the string's UTF-8 bytes: a space becomes
// '+', A-Z a-z 0-9 - . _ ~ stay, every other byte becomes %XX (upper-case hex).
// False when memory runs out (the buffer may then hold part of the text).
bool MKFormEncodeAppend(const MKString& text, MKTextBuffer& buffer);
