#pragma once

// For tests that only need to see how the installer program was started:
// when VISTELLO_INSTALLER_LOG names a file, the command line is appended to
// it as a UTF-8 line and the program does nothing else. False when the
// variable is not set.
bool LogInsteadOfRunning(const wchar_t* commandLine);
