// Stand-in for the product's installer program, which this tree does not
// build yet, so that the setup program has something to carry and start and
// the add-in has an installer program to hand an update to. Shows the command
// line it was given (nothing with "/silent"), or appends it as a UTF-8 line
// to the file named by VISTELLO_INSTALLER_LOG, and succeeds.
#include <windows.h>
#include <shellapi.h>

namespace {

bool AppendToLog(const wchar_t* commandLine)
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
    char* line = size > 0 ? static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, size)) : nullptr;
    if (line && WideCharToMultiByte(CP_UTF8, 0, commandLine, -1, line, size, nullptr, nullptr) == size) {
        // The terminating zero becomes the line's end.
        line[size - 1] = '\n';
        DWORD written = 0;
        WriteFile(file, line, DWORD(size), &written, nullptr);
    }
    if (line)
        HeapFree(GetProcessHeap(), 0, line);
    CloseHandle(file);
    return true;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    if (AppendToLog(GetCommandLineW()))
        return 0;
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    bool silent = false;
    for (int i = 1; arguments && i < count; ++i)
        silent = silent || lstrcmpiW(arguments[i], L"/silent") == 0;
    LocalFree(arguments);
    if (!silent)
        MessageBoxW(nullptr, GetCommandLineW(), L"Vistello installer stand-in", MB_ICONINFORMATION);
    return 0;
}
