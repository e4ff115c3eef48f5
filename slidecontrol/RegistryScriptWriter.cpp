#include "slidecontrol/RegistryScriptWriter.h"

namespace {

HKEY RootKey(const MKString& root)
{
    if (root == MKString("HKCU"))
        return HKEY_CURRENT_USER;
    if (root == MKString("HKLM"))
        return HKEY_LOCAL_MACHINE;
    return HKEY_CLASSES_ROOT;
}

LONG DeleteTree(HKEY root, const MKString& path)
{
    LONG status = RegDeleteTreeA(root, path.GetText());
    if (status == ERROR_SUCCESS)
        status = RegDeleteKeyA(root, path.GetText());
    return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : status;
}

LONG SetValue(HKEY key, const char* name, const RegistryScriptEntry& entry)
{
    if (entry.isNumber) {
        DWORD number = DWORD(entry.number);
        return RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
    }
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(entry.text.GetText()),
                          DWORD(entry.text.GetLength() + 1));
}

}  // namespace

HRESULT RegistryScriptWriter::Register(const RegistryScript& script)
{
    const MKTOArray<RegistryScriptEntry>& entries = script.Entries();
    for (int i = 0; i < entries.GetCount(); ++i) {
        const RegistryScriptEntry& entry = entries[i];
        HKEY root = RootKey(entry.root);
        LONG status = ERROR_SUCCESS;
        if (!entry.isValue && entry.removal == RegistryScriptEntry::kForceRemove)
            status = DeleteTree(root, entry.path);
        HKEY key = nullptr;
        if (status == ERROR_SUCCESS)
            status = RegCreateKeyExA(root, entry.path.GetText(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                                     nullptr, &key, nullptr);
        if (status == ERROR_SUCCESS && entry.hasData)
            status = SetValue(key, entry.isValue ? entry.valueName.GetText() : nullptr, entry);
        if (key)
            RegCloseKey(key);
        if (status != ERROR_SUCCESS)
            return HRESULT_FROM_WIN32(status);
    }
    return S_OK;
}

HRESULT RegistryScriptWriter::Unregister(const RegistryScript& script)
{
    HRESULT result = S_OK;
    const MKTOArray<RegistryScriptEntry>& entries = script.Entries();
    for (int i = 0; i < entries.GetCount(); ++i) {
        const RegistryScriptEntry& entry = entries[i];
        if (entry.isValue || entry.removal == RegistryScriptEntry::kNoRemove)
            continue;
        LONG status = DeleteTree(RootKey(entry.root), entry.path);
        if (status != ERROR_SUCCESS && result == S_OK)
            result = HRESULT_FROM_WIN32(status);
    }
    return result;
}
