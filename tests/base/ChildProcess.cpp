#include "ChildProcess.h"

#include <windows.h>

namespace {

// The current environment block with the variables added (set last, so they
// win over inherited ones of the same name).
std::wstring EnvironmentBlock(const std::vector<std::pair<std::wstring, std::wstring>>& extra)
{
    std::wstring block;
    wchar_t* current = GetEnvironmentStringsW();
    for (const wchar_t* p = current; *p; p += wcslen(p) + 1) {
        std::wstring entry = p;
        bool replaced = false;
        for (const auto& variable : extra) {
            std::wstring prefix = variable.first + L"=";
            if (_wcsnicmp(entry.c_str(), prefix.c_str(), prefix.size()) == 0)
                replaced = true;
        }
        if (!replaced)
            block += entry + L'\0';
    }
    FreeEnvironmentStringsW(current);
    for (const auto& variable : extra)
        block += variable.first + L"=" + variable.second + L'\0';
    block += L'\0';
    return block;
}

}  // namespace

ChildProcessResult RunChildProcess(const std::wstring& commandLine,
                                   const std::vector<std::pair<std::wstring, std::wstring>>& environment)
{
    ChildProcessResult result;
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0))
        return result;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    PROCESS_INFORMATION process = {};
    std::wstring mutableLine = commandLine;
    std::wstring block = EnvironmentBlock(environment);
    result.started = CreateProcessW(nullptr, &mutableLine[0], nullptr, nullptr, TRUE, CREATE_UNICODE_ENVIRONMENT,
                                    &block[0], nullptr, &startup, &process) != FALSE;
    CloseHandle(writeEnd);
    if (result.started) {
        char buffer[4096];
        DWORD got = 0;
        while (ReadFile(readEnd, buffer, sizeof(buffer), &got, nullptr) && got > 0)
            result.output.append(buffer, got);
        WaitForSingleObject(process.hProcess, INFINITE);
        GetExitCodeProcess(process.hProcess, &result.exitCode);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
    CloseHandle(readEnd);
    return result;
}

ChildProcessResult RunThisTestProgram(const std::wstring& filter,
                                      const std::vector<std::pair<std::wstring, std::wstring>>& environment)
{
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return RunChildProcess(L"\"" + std::wstring(self) + L"\" --gtest_filter=" + filter, environment);
}
