#pragma once
#include "base/MKString.h"
#include <windows.h>

// Starting the installer program and setup programs. Nothing here waits for a
// started process.

// Trims white space at both ends, then (when longer than one character) drops
// one leading and one trailing double quote.
MKString CleanProgramPath(const MKString& program);
// The command line LaunchProcess hands over: the cleaned program in double
// quotes, then a blank and the trimmed arguments when there are any.
MKString MakeCommandLine(const MKString& program, const MKString& arguments);

// The handles and ids of a started process (PROCESS_INFORMATION).
struct ProcessInfo : PROCESS_INFORMATION {
    ProcessInfo() : PROCESS_INFORMATION() {}
    // Closes both handles and zeroes the record.
    void Close();
};

// CreateProcessW of the cleaned program with MakeCommandLine, no inherited
// handles, the caller's environment and folder. False (info zeroed) when it
// cannot be started; the caller closes info at once.
bool LaunchProcess(ProcessInfo& info, const MKString& program, const MKString& arguments);
