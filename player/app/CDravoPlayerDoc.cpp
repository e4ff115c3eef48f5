#include "player/app/CDravoPlayerDoc.h"

#include "player/app/PVPlayerCommands.h"
#include "player/app/framework/MKRecentFileList.h"

#include <stdio.h>
#include <windows.h>

bool CDravoPlayerDoc::OnOpenDocument(const char* path)
{
    FILE* file = path && *path ? fopen(path, "rb") : nullptr;
    if (file) {
        fclose(file);
        return true;
    }
    char format[256];
    if (LoadStringA(GetModuleHandleA(nullptr), kStrUnableToOpen, format, sizeof format) <= 0)
        lstrcpynA(format, "%s", sizeof format);
    MKString text = MKString::FromFormat(format, path ? path : "");
    MessageBoxA(nullptr, text.GetText(), nullptr, MB_OK | MB_ICONERROR);
    return false;
}

void CDravoPlayerDoc::SetPathName(const char* path, bool addToRecentList, bool deleteMovieAtExit)
{
    m_path = path ? path : "";
    if (addToRecentList && !deleteMovieAtExit && m_recentFiles)
        m_recentFiles->Add(m_path.GetText());
}
