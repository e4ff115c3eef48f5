#include "setup/InstallerLaunch.h"

#include <windows.h>

namespace {

// The text holds no double quote (the parser takes them out of the source
// value; paths cannot hold one); backslashes before the closing quote would
// escape it, so they are doubled.
void AppendQuoted(MKString& line, const MKString& text)
{
    line.AppendText(L"\"");
    line.AppendString(text);
    int n = text.GetLength();
    for (int i = n; i > 0 && text[i - 1] == L'\\'; --i)
        line.AppendText(L"\\");
    line.AppendText(L"\"");
}

}  // namespace

MKString InstallerCommandLine(const MKString& installerPath, const MKString& setupPath,
                              const SetupCommandLine& options)
{
    MKString line;
    AppendQuoted(line, installerPath);
    line.AppendText(L" /install ");
    AppendQuoted(line, setupPath);
    if (options.silent)
        line.AppendText(L" /silent");
    if (options.fromUpdater)
        line.AppendText(L" /from_updater");
    if (!options.source.IsEmpty()) {
        line.AppendText(L" /source ");
        AppendQuoted(line, options.source);
    }
    return line;
}

int RunInstaller(const MKString& installerPath, const MKString& setupPath, SetupCommandLine& options)
{
    MKString line = InstallerCommandLine(installerPath, setupPath, options);
    // CreateProcessW may write into the command line.
    if (!line.MakeUnique())
        return kInstallerNotStarted;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(installerPath.GetText(), const_cast<wchar_t*>(line.GetText()), nullptr, nullptr, FALSE, 0,
                        nullptr, nullptr, &startup, &process))
        return kInstallerNotStarted;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD exitCode = 0;
    if (!GetExitCodeProcess(process.hProcess, &exitCode))
        exitCode = 0;
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    if (exitCode == 0)
        return 0;
    options.installerFailed = true;
    return int(exitCode);
}
