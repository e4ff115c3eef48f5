#include "slidecontrol/FlashPresenceCheck.h"

#include "player/app/OpenUrl.h"
#include "player/app/framework/MKCFlashWnd.h"
#include "slidecontrol/FlashAddresses.h"

#include <shellapi.h>
#include <wchar.h>

bool IsSilentCommandLine(const wchar_t* commandLine)
{
    if (!commandLine)
        return false;
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(commandLine, &count);
    if (!arguments)
        return false;
    bool silent = false;
    // The first argument is the program.
    for (int i = 1; i < count && !silent; ++i) {
        const wchar_t* a = arguments[i];
        if (a[0] != L'/' && a[0] != L'-')
            continue;
        silent = _wcsicmp(a + 1, L"s") == 0 || towlower(a[1]) == L'q';
    }
    LocalFree(arguments);
    return silent;
}

void CheckFlashAfterRegistration()
{
    if (MKCFlashWnd::IsFlashControlAvailable() || IsSilentCommandLine(GetCommandLineW()))
        return;
    int answer = MessageBoxA(nullptr,
                             "It appears that Flash Player is not installed on your system.\n"
                             "Plova Point requires it.\n"
                             "Do you want to open the online installation of Flash Player?\n",
                             "Flash Player required", MB_ICONWARNING | MB_YESNO);
    if (answer == IDYES)
        OpenUrl(kFlashDownloadAddress);
}
