#include "standins/powerpoint/OfficeAddInEntries.h"

#include "standins/powerpoint/ComValues.h"

#include <objbase.h>

namespace standin {

namespace {

std::wstring ReadText(HKEY key, const wchar_t* name)
{
    wchar_t buffer[1024];
    DWORD size = sizeof(buffer) - sizeof(wchar_t);
    DWORD type = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::wstring();
    buffer[size / sizeof(wchar_t)] = 0;
    return buffer;
}

void ReadEntries(HKEY root, const wchar_t* path, bool machine, std::vector<OfficeAddInEntry>& entries)
{
    HKEY addIns = nullptr;
    if (RegOpenKeyExW(root, path, 0, KEY_READ, &addIns) != ERROR_SUCCESS)
        return;
    wchar_t name[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = 256;
        if (RegEnumKeyExW(addIns, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        bool known = false;
        for (const OfficeAddInEntry& entry : entries)
            known = known || SameTextIgnoringCase(entry.progId, name);
        HKEY key = nullptr;
        if (known || RegOpenKeyExW(addIns, name, 0, KEY_READ, &key) != ERROR_SUCCESS)
            continue;
        OfficeAddInEntry entry;
        entry.progId = name;
        entry.friendlyName = ReadText(key, L"FriendlyName");
        entry.description = ReadText(key, L"Description");
        entry.machine = machine;
        DWORD size = sizeof(entry.loadBehavior);
        DWORD type = 0;
        if (RegQueryValueExW(key, L"LoadBehavior", nullptr, &type, reinterpret_cast<BYTE*>(&entry.loadBehavior),
                             &size) != ERROR_SUCCESS ||
            type != REG_DWORD)
            entry.loadBehavior = 0;
        RegCloseKey(key);
        entries.push_back(entry);
    }
    RegCloseKey(addIns);
}

}  // namespace

std::vector<OfficeAddInEntry> ReadOfficeAddInEntries()
{
    std::vector<OfficeAddInEntry> entries;
    ReadEntries(HKEY_CURRENT_USER, L"Software\\Microsoft\\Office\\PowerPoint\\Addins", false, entries);
    ReadEntries(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Office\\PowerPoint\\Addins", true, entries);
    return entries;
}

std::wstring ClassIdTextOfProgId(const std::wstring& progId)
{
    CLSID classId;
    if (FAILED(CLSIDFromProgID(progId.c_str(), &classId)))
        return std::wstring();
    wchar_t text[40];
    StringFromGUID2(classId, text, 40);
    return text;
}

}  // namespace standin
