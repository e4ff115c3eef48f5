#pragma once
#include "base/MKString.h"
#include "setup/SetupCommandLine.h"
#include "setup/SetupErrorReporter.h"

#include <windows.h>

enum SetupProgramError {
    kNoModuleHandle = 401,
    kNoModulePath = 402,
};

// The resource that carries the installer program.
const WORD kInstallerPayloadId = 500;

// The setup program: reads its options from the process command line, runs
// the setup for its own module and path, tells the user of a failure and
// answers the exit code (0, the installer's non-zero exit code, or a failure
// code of the setup).
int SetupEntry(SetupErrorReporter& reporter);

// Unpacks the installer that module carries into a fresh folder of the user's
// temporary folder, runs it with "/install", setupPath and the options, and
// deletes what it unpacked. 0, a failure code, or the installer's exit code.
int RunSetup(HMODULE module, const MKString& setupPath, SetupCommandLine& options);

// Shows "An unexpected error occurred. (error <code>)" captioned "Setup - "
// for a failure of the setup itself, unless the options ask for silence. An
// installer that failed has told the user itself: its code shows nothing.
void ReportSetupFailure(int code, const SetupCommandLine& options, SetupErrorReporter& reporter);
