// VistelloSetup: unpacks the installer program it carries, runs it with the
// caller's options and ends with its exit code.
#include "setup/SafeDllSearch.h"
#include "setup/SetupProgram.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    RestrictDllSearchToSystem();
    MessageBoxErrorReporter reporter;
    return SetupEntry(reporter);
}
