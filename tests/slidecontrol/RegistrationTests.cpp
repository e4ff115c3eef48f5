// regsvr32 with the real plovapoint.dll in the test prefix: the keys it
// writes, the type library, a second registration and the removal.
#include "PlovapointRegistration.h"
#include "slidecontrol/FlashPresenceCheck.h"
#include "fixtures/ChildProcess.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>
#include <windows.h>

namespace {

const wchar_t kClassKey[] = L"CLSID\\{10FD7FEE-875F-11D6-83D2-525400E80BD5}";
const wchar_t kTypeLibKey[] = L"TypeLib\\{10FD7FE0-875F-11D6-83D2-525400E80BD5}";

bool KeyExists(const std::wstring& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

// Every key below the path (relative names) with its values, "name=text",
// in the registry's order, as reg query lists them.
void Dump(HKEY parent, const std::wstring& path, const std::wstring& name, std::vector<std::wstring>& lines)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(parent, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    for (DWORD i = 0;; ++i) {
        wchar_t value[256];
        DWORD valueLength = 256;
        wchar_t data[1024];
        DWORD dataSize = sizeof data;
        DWORD type = 0;
        if (RegEnumValueW(key, i, value, &valueLength, nullptr, &type, reinterpret_cast<BYTE*>(data), &dataSize) !=
            ERROR_SUCCESS)
            break;
        std::wstring text = type == REG_SZ ? std::wstring(data) : L"?";
        lines.push_back(name + L"[" + (valueLength ? value : L"") + L"]=" + text);
    }
    std::vector<std::wstring> children;
    for (DWORD i = 0;; ++i) {
        wchar_t child[256];
        DWORD length = 256;
        if (RegEnumKeyExW(key, i, child, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        children.push_back(child);
    }
    RegCloseKey(key);
    for (const std::wstring& child : children) {
        std::wstring childName = name.empty() ? child : name + L"\\" + child;
        lines.push_back(childName);
        Dump(parent, path + L"\\" + child, childName, lines);
    }
}

std::vector<std::wstring> Dump(const std::wstring& path)
{
    std::vector<std::wstring> lines;
    Dump(HKEY_CLASSES_ROOT, path, L"", lines);
    return lines;
}

unsigned long Regsvr32(const std::wstring& switches)
{
    return RunChildProcess(L"regsvr32 " + switches + L" \"" + PlovapointRegistration::Path() + L"\"").exitCode;
}

TEST(PlovapointRegistration, Regsvr32WritesTheKeyTableReplacesItAndRemovesIt)
{
    // No Flash Player is registered: a silent registration still succeeds and
    // asks nothing (a box would keep regsvr32 from ending).
    const std::wstring module = PlovapointRegistration::Path();
    ASSERT_EQ(0u, Regsvr32(L"/s"));

    const std::vector<std::wstring> expected = {
        L"[]=Veviv Udare ruz Ovuvidided",
        L"Control",
        L"InprocServer32",
        L"InprocServer32[]=" + module,
        L"InprocServer32[ThreadingModel]=Apartment",
        L"MiscStatus",
        L"MiscStatus[]=0",
        L"MiscStatus\\1",
        L"MiscStatus\\1[]=131473",
        L"ProgID",
        L"ProgID[]=PlovaPoint.player.1",
        L"Programmable",
        L"ToolboxBitmap32",
        L"ToolboxBitmap32[]=" + module + L", 102",
        L"TypeLib",
        L"TypeLib[]={10FD7FE0-875F-11D6-83D2-525400E80BD5}",
        L"Version",
        L"Version[]=1.0",
        L"VersionIndependentProgID",
        L"VersionIndependentProgID[]=PlovaPoint.player",
    };
    EXPECT_EQ(expected, Dump(kClassKey));
    EXPECT_EQ((std::vector<std::wstring>{L"[]=Veviv Udare ruz Ovuvidided", L"CLSID",
                                         L"CLSID[]={10FD7FEE-875F-11D6-83D2-525400E80BD5}"}),
              Dump(L"PlovaPoint.player.1"));
    EXPECT_EQ((std::vector<std::wstring>{L"[]=Veviv Udare ruz Ovuvidided", L"CLSID",
                                         L"CLSID[]={10FD7FEE-875F-11D6-83D2-525400E80BD5}", L"CurVer",
                                         L"CurVer[]=PlovaPoint.player.1"}),
              Dump(L"PlovaPoint.player"));
    std::vector<std::wstring> typeLib = Dump(kTypeLibKey);
    EXPECT_NE(typeLib.end(), std::find(typeLib.begin(), typeLib.end(), L"1.0\\0\\win32[]=" + module));
    EXPECT_NE(typeLib.end(), std::find(typeLib.begin(), typeLib.end(), L"1.0[]=PlovaOffice 1.0 Type Library"));
    EXPECT_TRUE(KeyExists(L"Interface\\{10FD7FED-875F-11D6-83D2-525400E80BD5}"));

    // Registering again replaces the class key as a whole.
    HKEY stray = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CLASSES_ROOT, (std::wstring(kClassKey) + L"\\Stray").c_str(), 0,
                                             nullptr, 0, KEY_WRITE, nullptr, &stray, nullptr));
    RegCloseKey(stray);
    ASSERT_EQ(0u, Regsvr32(L"/s"));
    EXPECT_EQ(expected, Dump(kClassKey));

    // Unregistering removes what it wrote and leaves the shared CLSID key.
    ASSERT_EQ(0u, Regsvr32(L"/s /u"));
    EXPECT_FALSE(KeyExists(kClassKey));
    EXPECT_FALSE(KeyExists(L"PlovaPoint.player.1"));
    EXPECT_FALSE(KeyExists(L"PlovaPoint.player"));
    EXPECT_FALSE(KeyExists(kTypeLibKey));
    EXPECT_TRUE(KeyExists(L"CLSID"));
}

TEST(PlovapointRegistration, SilentSwitchesOfRegsvr32AndInstallers)
{
    struct Case {
        const wchar_t* commandLine;
        bool silent;
    };
    const Case cases[] = {
        {L"regsvr32 /s plovapoint.dll", true},
        {L"regsvr32 -S plovapoint.dll", true},
        {L"msiexec /i setup.msi /qn", true},
        {L"regsvr32 plovapoint.dll", false},
        {L"regsvr32 /u plovapoint.dll", false},
        {L"\"C:\\s\\regsvr32.exe\" c:\\s\\plovapoint.dll", false},
        {L"/s", false},  // the program's own name
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.silent, IsSilentCommandLine(c.commandLine)) << std::string(c.commandLine, c.commandLine + wcslen(c.commandLine));
}

}  // namespace
