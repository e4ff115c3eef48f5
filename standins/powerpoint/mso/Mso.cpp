// Office's shared library as detection sees it: a DLL whose only content
// that matters is its version resource.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID)
{
    return TRUE;
}
