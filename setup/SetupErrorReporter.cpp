#include "setup/SetupErrorReporter.h"

#include <windows.h>

void MessageBoxErrorReporter::ShowError(const wchar_t* text, const wchar_t* caption)
{
    MessageBoxW(nullptr, text, caption, MB_ICONERROR);
}
