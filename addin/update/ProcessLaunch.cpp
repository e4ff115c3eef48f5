#include "addin/update/ProcessLaunch.h"

MKString CleanProgramPath(const MKString& program)
{
    MKString clean = program;
    clean.TrimLeft();
    clean.TrimRight();
    if (clean.GetLength() > 1) {
        if (clean[0] == L'"')
            clean = clean.Mid(1);
        if (clean.GetLength() > 0 && clean[clean.GetLength() - 1] == L'"')
            clean = clean.Left(clean.GetLength() - 1);
    }
    return clean;
}

MKString MakeCommandLine(const MKString& program, const MKString& arguments)
{
    MKString line;
    line.Format(L"\"%s\"", CleanProgramPath(program).GetText());
    MKString rest = arguments;
    rest.TrimLeft();
    rest.TrimRight();
    if (!rest.IsEmpty()) {
        line.AppendText(L" ");
        line.AppendString(rest);
    }
    return line;
}

void ProcessInfo::Close()
{
    if (hProcess)
        CloseHandle(hProcess);
    if (hThread)
        CloseHandle(hThread);
    static_cast<PROCESS_INFORMATION&>(*this) = PROCESS_INFORMATION();
}

bool LaunchProcess(ProcessInfo& info, const MKString& program, const MKString& arguments)
{
    MKString clean = CleanProgramPath(program);
    MKString line = MakeCommandLine(program, arguments);
    // CreateProcessW may write into the command line.
    if (!line.MakeUnique())
        return false;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_FORCEOFFFEEDBACK;
    if (CreateProcessW(clean.GetText(), const_cast<wchar_t*>(line.GetText()), nullptr, nullptr, FALSE, 0, nullptr,
                       nullptr, &startup, &info))
        return true;
    static_cast<PROCESS_INFORMATION&>(info) = PROCESS_INFORMATION();
    return false;
}
