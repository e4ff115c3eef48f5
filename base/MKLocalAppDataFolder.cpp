#include "base/MKLocalAppDataFolder.h"

#include <windows.h>
#include <shlobj.h>

#include "base/MKSpecialFolders.h"

MKString MKGetLocalAppDataFolder()
{
    return MKGetSpecialFolder(CSIDL_LOCAL_APPDATA);
}
