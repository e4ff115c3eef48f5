// PowerPoint's resource library: carries the keyboard accelerator table 1292
// that PowerPoint's windows use.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID)
{
    return TRUE;
}
