#include "player/app/PVFileAssociation.h"

#include "player/app/framework/MKProfile.h"

bool SetKeyDefault(HKEY root, const char* path, const char* subName, const char* value)
{
    MKString name(path);
    if (subName) {
        name.AppendText("\\");
        name.AppendText(subName);
    }
    if (name.GetLength() > 1023)
        return false;
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, name.GetText(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return false;
    if (value)
        RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), DWORD(strlen(value) + 1));
    RegCloseKey(key);
    return true;
}

void PVWriteAssociation(bool maintain, const char* programPath)
{
    MKProfile::WriteInt("Settings", "MaintainAssoc", maintain ? 1 : 0);
    if (!maintain)
        return;
    MKString command = MKString::FromFormat("\"%s\" \"%%1\"", programPath ? programPath : "");
    MKString icon(programPath);
    icon.AppendText(",0");
    SetKeyDefault(HKEY_CLASSES_ROOT, "ShockwaveFlash.ShockwaveFlash\\Shell\\open\\command", "", command.GetText());
    SetKeyDefault(HKEY_CLASSES_ROOT, "ShockwaveFlash.ShockwaveFlash\\DefaultIcon", "", icon.GetText());
}

MKString PVProgramPath()
{
    char path[500];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path)
        return MKString();
    return MKString::MKStringFromChars(path, int(length));
}
