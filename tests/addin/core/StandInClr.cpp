#include "StandInClr.h"

#include "AddInTestSupport.h"

#include <stdio.h>

const wchar_t StandInClr::kSetupKey[] = L"Software\\Microsoft\\NET Framework Setup\\NDP\\v2.0.50727";
const wchar_t StandInClr::kClientLayerKey[] = L"Software\\Microsoft\\NET Framework Setup\\DotNetClient\\v3.5\\Layers\\v2.0";
const wchar_t StandInClr::kFrameworkKey[] = L"Software\\Microsoft\\.NETFramework";

StandInClr::StandInClr()
{
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    m_logPath = std::wstring(folder) + L"vistello-clr-" + std::to_wstring(GetCurrentProcessId()) + L".log";
    DeleteFileW(m_logPath.c_str());
    SetEnvironmentVariableW(L"VISTELLO_CLR_LOG", m_logPath.c_str());
    SetEnvironmentVariableW(L"VISTELLO_CLR_FAIL", nullptr);
    SetEnvironmentVariableW(L"VISTELLO_CLR_PRELOAD", nullptr);
    std::wstring root = ReadText(HKEY_LOCAL_MACHINE, kFrameworkKey, L"InstallRoot");
    m_hadInstallRoot = root != L"<none>";
    m_installRoot = root;
    WriteText(HKEY_LOCAL_MACHINE, kFrameworkKey, L"InstallRoot", FrameworkFolder());
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\NET Framework Setup\\DotNetClient");
    WriteDword(HKEY_LOCAL_MACHINE, kSetupKey, L"Install", 1);
    SetServicePack(1);
}

StandInClr::~StandInClr()
{
    SetEnvironmentVariableW(L"VISTELLO_CLR_FAIL", nullptr);
    SetEnvironmentVariableW(L"VISTELLO_CLR_PRELOAD", nullptr);
    SetEnvironmentVariableW(L"VISTELLO_CLR_CANCEL", nullptr);
    SetEnvironmentVariableW(L"VISTELLO_CLR_LOG", nullptr);
    DeleteFileW(m_logPath.c_str());
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\NET Framework Setup\\NDP\\v2.0.50727");
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\NET Framework Setup\\DotNetClient");
    if (m_hadInstallRoot) {
        WriteText(HKEY_LOCAL_MACHINE, kFrameworkKey, L"InstallRoot", m_installRoot);
    } else {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kFrameworkKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
            RegDeleteValueW(key, L"InstallRoot");
            RegCloseKey(key);
        }
    }
}

std::wstring StandInClr::FrameworkFolder()
{
    return std::wstring(VISTELLO_TESTS_BIN) + L"\\..\\standins\\clr\\Framework\\";
}

void StandInClr::SetServicePack(long servicePack)
{
    if (servicePack >= 0) {
        WriteDword(HKEY_LOCAL_MACHINE, kSetupKey, L"SP", static_cast<DWORD>(servicePack));
        return;
    }
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSetupKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        RegDeleteValueW(key, L"SP");
        RegCloseKey(key);
    }
}

void StandInClr::Fail(const std::wstring& calls)
{
    SetEnvironmentVariableW(L"VISTELLO_CLR_FAIL", calls.c_str());
}

void StandInClr::ClearLog() const
{
    DeleteFileW(m_logPath.c_str());
}

std::vector<std::wstring> StandInClr::Log() const
{
    std::vector<std::wstring> lines;
    FILE* file = _wfopen(m_logPath.c_str(), L"rb");
    if (!file)
        return lines;
    std::string bytes;
    char buffer[4096];
    size_t read;
    while ((read = fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.append(buffer, read);
    fclose(file);
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos)
            end = bytes.size();
        std::string line = bytes.substr(start, end - start);
        int size = MultiByteToWideChar(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), nullptr, 0);
        std::wstring wide(static_cast<size_t>(size), L'\0');
        MultiByteToWideChar(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), wide.data(), size);
        lines.push_back(wide);
        start = end + 1;
    }
    return lines;
}

std::vector<std::wstring> StandInClr::LogOf(const std::vector<std::wstring>& prefixes) const
{
    std::vector<std::wstring> chosen;
    for (const std::wstring& line : Log()) {
        for (const std::wstring& prefix : prefixes) {
            if (line.compare(0, prefix.size(), prefix) == 0) {
                chosen.push_back(line);
                break;
            }
        }
    }
    return chosen;
}
