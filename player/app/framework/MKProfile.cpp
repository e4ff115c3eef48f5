#include "player/app/framework/MKProfile.h"

#include <windows.h>

namespace {

MKString& Path()
{
    static MKString s_path;
    return s_path;
}

// The section's key, created for writing; null on failure.
HKEY OpenSection(const char* section, bool write)
{
    if (Path().IsEmpty() || !section)
        return nullptr;
    MKString path = Path();
    path.AppendText("\\");
    path.AppendText(section);
    HKEY key = nullptr;
    LONG result = write ? RegCreateKeyExA(HKEY_CURRENT_USER, path.GetText(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                          KEY_WRITE | KEY_READ, nullptr, &key, nullptr)
                        : RegOpenKeyExA(HKEY_CURRENT_USER, path.GetText(), 0, KEY_READ, &key);
    return result == ERROR_SUCCESS ? key : nullptr;
}

}  // namespace

void MKProfile::SetRegistryKey(const char* company, const char* application)
{
    Path().Format("Software\\%s\\%s", company, application);
}

const MKString& MKProfile::KeyPath()
{
    return Path();
}

int MKProfile::GetInt(const char* section, const char* entry, int defaultValue)
{
    HKEY key = OpenSection(section, false);
    if (!key)
        return defaultValue;
    DWORD value = 0;
    DWORD type = 0;
    DWORD size = sizeof value;
    LONG result = RegQueryValueExA(key, entry, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS && type == REG_DWORD && size == sizeof value ? int(value) : defaultValue;
}

bool MKProfile::WriteInt(const char* section, const char* entry, int value)
{
    HKEY key = OpenSection(section, true);
    if (!key)
        return false;
    DWORD data = DWORD(value);
    LONG result = RegSetValueExA(key, entry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data);
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

MKString MKProfile::GetString(const char* section, const char* entry, const char* defaultValue)
{
    MKString text(defaultValue);
    HKEY key = OpenSection(section, false);
    if (!key)
        return text;
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key, entry, nullptr, &type, nullptr, &size) == ERROR_SUCCESS && type == REG_SZ) {
        MKString value;
        DWORD room = size;
        if (char* chars = value.PrepareOverwrite(int(room))) {
            // Stored texts need not end in a terminator: one is put after them.
            if (RegQueryValueExA(key, entry, nullptr, &type, reinterpret_cast<BYTE*>(chars), &size) == ERROR_SUCCESS &&
                type == REG_SZ && size <= room) {
                chars[size] = 0;
                value.SetLength(int(strlen(chars)));
                text = value;
            }
        }
    }
    RegCloseKey(key);
    return text;
}

bool MKProfile::WriteString(const char* section, const char* entry, const char* value)
{
    HKEY key = OpenSection(section, true);
    if (!key)
        return false;
    if (!value)
        value = "";
    LONG result = RegSetValueExA(key, entry, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), DWORD(strlen(value) + 1));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}
