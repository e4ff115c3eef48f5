// The runtime's main file as detection sees it: only its version resource
// matters.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID)
{
    return TRUE;
}
