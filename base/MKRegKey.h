#pragma once
#include "base/MKRefHolder.h"
#include "base/MKRegValue.h"
#include "base/MKString.h"
#include "base/MKOpenRegKey.h"

#include <stdint.h>

template <typename T>
class MKTArray;
typedef MKTArray<uint8_t> MKByteArray;
template <typename T>
class MKTOArray;

// Handle to a shared open registry key (or null). Copies share the key. Every
// operation on a null handle fails or answers null; a key opened read-only
// refuses writes, creations and deletions before asking the registry.
// Sub-paths may use runs of backslashes; value names may be null (the
// default value). Nothing throws.
class MKRegKey {
public:
    MKRegKey() = default;

    // A new key object with the caller's flags; a borrowed handle is never
    // closed.
    static MKRegKey Create(HKEY handle, const MKString& path, bool writable, bool borrowed);

    bool IsNull() const { return !m_key; }
    explicit operator bool() const { return bool(m_key); }
    HKEY GetHandle() const { return m_key ? m_key->GetHandle() : nullptr; }
    // The full path; empty for a null key.
    const MKString& GetPath() const;
    bool IsWritable() const { return m_key && m_key->IsWritable(); }
    void Release() { m_key.Reset(); }

    // The normalised sub-path, then OpenSubKey.
    MKRegKey OpenPath(const MKString& subPath, bool writable) const;
    // Opens for reading, or reading and writing; null on failure.
    MKRegKey OpenSubKey(const MKString& subPath, bool writable) const;
    // Opens or creates a writable sub-key; null on a read-only key or failure.
    MKRegKey CreateSubKey(const MKString& subPath) const;
    // True also when the key exists but may not be read.
    bool SubKeyExists(const MKString& subPath) const;

    bool HasValue(const wchar_t* name) const;
    // The value's type and data; null when missing or unreadable.
    MKRegValue QueryValue(const wchar_t* name) const;
    // A REG_SZ value's text; false (out unchanged) for other types.
    bool QueryString(const wchar_t* name, MKString& out) const;
    // A REG_BINARY value's bytes; false for other types.
    bool GetBinary(const wchar_t* name, MKByteArray& out) const;
    // REG_DWORD, or REG_DWORD_BIG_ENDIAN byte-swapped; false otherwise.
    bool GetDword(const wchar_t* name, uint32_t& out) const;

    // Writes need a writable key and a name of fewer than 256 characters.
    bool SetValue(const wchar_t* name, const MKRegValue& value) const;
    bool SetDword(const wchar_t* name, uint32_t value) const;
    bool SetString(const wchar_t* name, const MKString& text) const;
    bool DeleteValue(const wchar_t* name) const;
    bool DeleteAllValues() const;

    // Names of the sub-keys or values (up to 255 characters each); on any
    // failure names is emptied and false returned.
    bool EnumSubKeys(MKTOArray<MKString>& names) const;
    bool EnumValueNames(MKTOArray<MKString>& names) const;

    // Deletes the sub-key with all its values and sub-keys, deepest first;
    // false when it does not exist or a part could not be deleted.
    bool DeleteSubKeyTree(const MKString& subPath) const;
    // The same without the existence test.
    bool DeleteTree(const MKString& subPath) const;

private:
    MKRegKey Open(const MKString& subPath, REGSAM access, bool writable) const;

    MKRefHolder<MKOpenRegKey> m_key;
};

// A run of backslashes becomes one and one trailing backslash goes; paths
// without backslashes come back unchanged.
MKString MKNormalizeKeyPath(const MKString& path);
// "Software\<path>" under HKEY_CURRENT_USER.
MKRegKey MKRegOpenSoftwareKey(const MKString& path, bool writable);
// "SOFTWARE\<path>" under HKEY_LOCAL_MACHINE.
MKRegKey MKRegOpenMachineSoftwareKey(const MKString& path, bool writable);
