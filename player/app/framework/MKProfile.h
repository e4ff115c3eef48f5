#pragma once
#include "base/MKString.h"

// The application's registry profile: the key
// HKEY_CURRENT_USER\Software\<company>\<application>\<section>, integers
// as REG_DWORD and texts as REG_SZ. Reads answer the default when the value is
// missing or of another type; writes create the keys and answer false when
// the registry refuses. Process-wide; UI thread only.
class MKProfile {
public:
    static void SetRegistryKey(const char* company, const char* application);
    // "Software\<company>\<application>"; empty before SetRegistryKey.
    static const MKString& KeyPath();

    static int GetInt(const char* section, const char* entry, int defaultValue);
    static bool WriteInt(const char* section, const char* entry, int value);
    static MKString GetString(const char* section, const char* entry, const char* defaultValue);
    static bool WriteString(const char* section, const char* entry, const char* value);
};
