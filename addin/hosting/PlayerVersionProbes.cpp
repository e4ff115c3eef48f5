#include "addin/hosting/PlayerVersionProbes.h"

#include "addin/hosting/InstalledControlPath.h"
#include "base/MKFileVersionInfo.h"

const CLSID kFlashPlayerControlClsid = {0xD27CDB6E, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const CLSID kQuickTimeControlClsid = {0x24BA3CAF, 0x4BE8, 0x4AEC, {0xA7, 0xC8, 0x6F, 0x47, 0xD5, 0x68, 0x46, 0x02}};

bool ProbeControlVersion(REFCLSID clsid, MKVersion& out)
{
    out = MKVersion();
    MKString path = GetInstalledControlPath(clsid);
    if (path.IsEmpty())
        return false;
    MKFileVersionInfo info(path);
    if (!info.Read())
        return false;
    out = info.GetFileVersion();
    return true;
}

bool ProbeFlashPlayerVersion(MKVersion& out)
{
    return ProbeControlVersion(kFlashPlayerControlClsid, out);
}

bool ProbeQuickTimeControlVersion(MKVersion& out)
{
    return ProbeControlVersion(kQuickTimeControlClsid, out);
}
