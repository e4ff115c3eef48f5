#include "InstallerLog.h"

#include <windows.h>

#include <string>

bool LogInsteadOfRunning(const wchar_t* commandLine)
{
    wchar_t path[MAX_PATH];
    DWORD length = GetEnvironmentVariableW(L"VISTELLO_INSTALLER_LOG", path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return false;
    HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return true;
    int size = WideCharToMultiByte(CP_UTF8, 0, commandLine, -1, nullptr, 0, nullptr, nullptr);
    if (size > 0) {
        std::string line(size_t(size), '\0');
        WideCharToMultiByte(CP_UTF8, 0, commandLine, -1, line.data(), size, nullptr, nullptr);
        // The terminating zero becomes the line's end.
        line.back() = '\n';
        DWORD written = 0;
        WriteFile(file, line.data(), DWORD(line.size()), &written, nullptr);
    }
    CloseHandle(file);
    return true;
}
