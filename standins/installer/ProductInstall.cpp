#include "ProductInstall.h"

#include <windows.h>
#include <shlobj.h>

#include <vector>

namespace {

const wchar_t* const kProductFiles[] = {L"VistelloLoaderAddIn.dll", L"VistelloAddIn.dll", L"VistelloUpdaterAddIn.dll",
                                        L"VistelloTrampoline.exe"};
const wchar_t kAddInUserEntry[] = L"Software\\Microsoft\\Office\\PowerPoint\\AddIns\\Vistello.AddIn";

bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Runs the command line to its end; true when it exits with 0.
bool Run(const std::wstring& commandLine)
{
    std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back(0);
    STARTUPINFOW startup = {sizeof startup};
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code == 0;
}

std::wstring SystemProgram(const wchar_t* name)
{
    wchar_t folder[MAX_PATH];
    UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    return L"\"" + std::wstring(folder, length < MAX_PATH ? length : 0) + L"\\" + name + L"\"";
}

}  // namespace

std::wstring DefaultInstallFolder()
{
    wchar_t folder[MAX_PATH];
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_PROGRAM_FILES, nullptr, SHGFP_TYPE_CURRENT, folder)))
        return std::wstring();
    return std::wstring(folder) + L"\\Vistello";
}

std::wstring MakeScratchFolder()
{
    wchar_t temp[MAX_PATH], name[MAX_PATH];
    DWORD length = GetTempPathW(MAX_PATH, temp);
    // The unique name comes as an empty file, which the folder replaces.
    if (length == 0 || length >= MAX_PATH || !GetTempFileNameW(temp, L"vlp", 0, name) || !DeleteFileW(name) ||
        !CreateDirectoryW(name, nullptr))
        return std::wstring();
    return name;
}

bool HoldsProduct(const std::wstring& folder)
{
    for (const wchar_t* name : kProductFiles) {
        if (!Exists(folder + L"\\" + name))
            return false;
    }
    return true;
}

bool RegisterProduct(const std::wstring& folder)
{
    std::wstring regsvr = SystemProgram(L"regsvr32.exe") + L" /s \"";
    if (!Run(regsvr + folder + L"\\VistelloLoaderAddIn.dll\"") || !Run(regsvr + folder + L"\\VistelloAddIn.dll\"") ||
        !Run(regsvr + folder + L"\\VistelloUpdaterAddIn.dll\""))
        return false;
    LSTATUS removed = RegDeleteTreeW(HKEY_CURRENT_USER, kAddInUserEntry);
    if (removed != ERROR_SUCCESS && removed != ERROR_FILE_NOT_FOUND)
        return false;
    return Run(L"\"" + folder + L"\\VistelloTrampoline.exe\" /RegServer");
}
