#pragma once

// After the library registered itself: when the Flash Player control cannot
// be made, offers to open its download page (a Yes/No warning box). In a
// silent registration (a "/s" or "-s" switch, as regsvr32 takes, or a
// quiet "/q..." one, as installers take, on the process's command line)
// nothing is shown: a box there would stop an unattended install, and the
// control warns once itself when it cannot make a Flash control.
void CheckFlashAfterRegistration();

// Whether the command line asks for a silent run (see above).
bool IsSilentCommandLine(const wchar_t* commandLine);
