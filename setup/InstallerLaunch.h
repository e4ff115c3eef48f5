#pragma once
#include "base/MKString.h"
#include "setup/SetupCommandLine.h"

enum InstallerLaunchError {
    kInstallerNotStarted = 301,
};

// The installer's command line: the quoted installer path, "/install" and the
// quoted setup path, then "/silent", "/from_updater" and "/source" with the
// quoted source value as the options ask. Each quoted text comes back whole
// from the usual argument split, blanks and trailing backslashes included.
MKString InstallerCommandLine(const MKString& installerPath, const MKString& setupPath,
                              const SetupCommandLine& options);

// Starts the installer with that command line and waits for it without limit.
// Answers 0, kInstallerNotStarted, or the installer's non-zero exit code (then
// options.installerFailed is set).
int RunInstaller(const MKString& installerPath, const MKString& setupPath, SetupCommandLine& options);
