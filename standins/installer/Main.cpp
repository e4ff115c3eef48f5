// Stand-in for the product's installer program, which this tree does not
// build yet, so that the setup program has something to carry and start.
// Shows the command line it was given (nothing with "/silent") and succeeds.
#include <windows.h>
#include <shellapi.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    bool silent = false;
    for (int i = 1; arguments && i < count; ++i)
        silent = silent || lstrcmpiW(arguments[i], L"/silent") == 0;
    LocalFree(arguments);
    if (!silent)
        MessageBoxW(nullptr, GetCommandLineW(), L"Vistello installer stand-in", MB_ICONINFORMATION);
    return 0;
}
