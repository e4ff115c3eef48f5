#pragma once
#include "base/MKString.h"
#include <windows.h>
#include <shellapi.h>

enum ShellLaunchResult { ShellLaunchStarted = 0, ShellLaunchCancelled = 1, ShellLaunchFailed = 2 };

// Starts a program through the shell, asking for elevation ("runas") where it
// is needed: on Vista and later for a user outside the Administrators group.
// Keeps the returned process handle until CloseProcess or destruction.
class ShellLaunch {
public:
    typedef BOOL(WINAPI* ExecuteFunction)(SHELLEXECUTEINFOW* info);

    ShellLaunch();
    ~ShellLaunch();
    ShellLaunch(const ShellLaunch&) = delete;
    ShellLaunch& operator=(const ShellLaunch&) = delete;

    // A ShellLaunchResult: cancelled when the user refused elevation.
    int Run(const MKString& program, const MKString& arguments, bool elevate);
    void CloseProcess();
    HANDLE GetProcess() const { return m_info.hProcess; }
    // The verb the last Run asked for (null or "runas").
    const wchar_t* GetVerb() const { return m_info.lpVerb; }

    // Replaces the shell's ShellExecuteExW (null restores it), so a test can
    // answer as a refused consent dialog does.
    static void SetExecuteForTesting(ExecuteFunction execute);

private:
    SHELLEXECUTEINFOW m_info;
    MKString m_program;
    MKString m_arguments;
};
