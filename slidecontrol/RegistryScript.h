#pragma once
#include "base/MKString.h"
#include "base/MKTOArray.h"

// One key or value of a registry script, with the full path of its key
// below the root.
struct RegistryScriptEntry {
    enum Removal { kRemove, kNoRemove, kForceRemove };
    MKString root;  // "HKCR", "HKCU" or "HKLM"
    MKString path;
    bool isValue = false;
    MKString valueName;  // values only
    Removal removal = kRemove;
    bool hasData = false;  // a key's default value; always set for values
    bool isNumber = false;
    MKString text;
    unsigned long number = 0;
};

// A registry script: keys under a root, each
//     [NoRemove|ForceRemove] name [= s 'default'] [{ ... }]
// where a block holds subkeys and values "val name = s 'text'" or
// "val name = d 'number'". Tokens are separated by white space. Names and
// texts are bare words or quoted with '
// ('' for a quote); %NAME% in them is replaced by a substitution. Parsing is
// plain text to records, parents before their children;
// RegistryScriptWriter applies them.
class RegistryScript {
public:
    // Adds a %name% replacement.
    void Substitute(const char* name, const MKString& value);
    // False with a message ("line 4: '}' expected") for text that is not a
    // script.
    bool Parse(const char* text, int length, MKString& error);
    const MKTOArray<RegistryScriptEntry>& Entries() const { return m_entries; }

private:
    class Reader;
    bool ParseBlock(Reader& reader, const MKString& root, const MKString& parent, MKString& error);
    MKString Expand(const MKString& text) const;

    MKTOArray<MKString> m_names;
    MKTOArray<MKString> m_values;
    MKTOArray<RegistryScriptEntry> m_entries;
};
