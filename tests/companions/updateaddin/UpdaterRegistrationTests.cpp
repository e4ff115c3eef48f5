// Registration of the built VistelloUpdaterAddIn.dll with Wine's regsvr32,
// checked with reg.exe: its class only; Office entries of earlier runs go.
#include "addin/core/OfficeAddInKeys.h"
#include "fixtures/ChildProcess.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using Lines = std::vector<std::string>;

const wchar_t kUserEntry[] = L"Software\\Microsoft\\Office\\PowerPoint\\AddIns\\VistelloUpdater.AddIn";
const wchar_t kMachineEntry[] = L"SOFTWARE\\Microsoft\\Office\\PowerPoint\\AddIns\\VistelloUpdater.AddIn";

std::wstring UpdaterPath()
{
    return std::wstring(VISTELLO_OUT_DIR) + L"\\VistelloUpdaterAddIn.dll";
}

unsigned long Regsvr(const std::wstring& options)
{
    // Wine starts the desktop's process from the first process that needs
    // it; started from a child, it would keep the child's output pipe open.
    GetDesktopWindow();
    return RunChildProcess(L"regsvr32.exe /s " + options + L"\"" + UpdaterPath() + L"\"").exitCode;
}

Lines RegQuery(const std::wstring& key)
{
    Lines lines;
    ChildProcessResult run = RunChildProcess(L"reg.exe query \"" + key + L"\" /s");
    if (run.exitCode != 0)
        return lines;
    std::istringstream stream(run.output);
    for (std::string line; std::getline(stream, line);) {
        size_t first = line.find_first_not_of(" \t\r");
        size_t last = line.find_last_not_of(" \t\r");
        if (first != std::string::npos)
            lines.push_back(line.substr(first, last - first + 1));
    }
    return lines;
}

bool KeyExists(HKEY root, const wchar_t* path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

void WriteEntry(HKEY root, const wchar_t* path)
{
    DWORD three = 3;
    RegSetKeyValueW(root, path, L"LoadBehavior", REG_DWORD, &three, sizeof(three));
}

TEST(UpdaterRegistrationTest, RegsvrWritesTheClassOnlyAndUnregistrationRemovesIt)
{
    WriteEntry(HKEY_CURRENT_USER, kUserEntry);
    WriteEntry(HKEY_LOCAL_MACHINE, kMachineEntry);
    ASSERT_EQ(Regsvr(L""), 0u);
    std::wstring widePath = UpdaterPath();
    std::string path(widePath.begin(), widePath.end());
    std::string classKey = "HKEY_CLASSES_ROOT\\CLSID\\{2F6C91C3-3FC7-4d79-A674-84D29A4461EA}";
    EXPECT_EQ(RegQuery(L"HKCR\\CLSID\\{2F6C91C3-3FC7-4d79-A674-84D29A4461EA}"),
              (Lines{classKey, "(Default)    REG_SZ    Vistello Updater", classKey + "\\InprocServer32",
                     "(Default)    REG_SZ    " + path, classKey + "\\ProgID",
                     "(Default)    REG_SZ    VistelloUpdater.AddIn"}));
    EXPECT_EQ(RegQuery(L"HKCR\\VistelloUpdater.AddIn"),
              (Lines{"HKEY_CLASSES_ROOT\\VistelloUpdater.AddIn", "(Default)    REG_SZ    Vistello Updater",
                     "HKEY_CLASSES_ROOT\\VistelloUpdater.AddIn\\CLSID",
                     "(Default)    REG_SZ    {2F6C91C3-3FC7-4d79-A674-84D29A4461EA}"}));
    // The main add-in writes the entry when it needs this add-in.
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kUserEntry));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kMachineEntry));

    WriteEntry(HKEY_CURRENT_USER, kUserEntry);
    ASSERT_EQ(Regsvr(L"/u "), 0u);
    EXPECT_EQ(RegQuery(L"HKCR\\CLSID\\{2F6C91C3-3FC7-4d79-A674-84D29A4461EA}"), Lines{});
    EXPECT_EQ(RegQuery(L"HKCR\\VistelloUpdater.AddIn"), Lines{});
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kUserEntry));
    EXPECT_EQ(Regsvr(L"/u "), 0u);
}

}  // namespace
