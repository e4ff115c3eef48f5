#include "addin/core/OfficeInfo.h"

#include "base/MKFile.h"
#include "base/MKFileVersionInfo.h"
#include "base/MKPath.h"
#include "base/MKRegKey.h"
#include "base/MKVersionLibrary.h"

namespace {

MKRegKey MicrosoftKey()
{
    return MKRegOpenMachineSoftwareKey(L"Microsoft", false);
}

// The InstallRoot folder of the major version when POWERPNT.EXE is in it.
MKString InstallRootOf(const MKRegKey& microsoft, int major)
{
    MKRegKey key = microsoft.OpenPath(MKString::FromFormat(L"Office\\%d.0\\Common\\InstallRoot", major), false);
    MKString folder;
    if (!key || !key.QueryString(L"Path", folder) || folder.IsEmpty())
        return MKString();
    return MKFileExists(MKPathCombine(folder, L"POWERPNT.EXE")) ? folder : MKString();
}

// Office 11 and later name MSO.DLL in FilesPaths; Office 10 keeps it in its
// shared folder of the common files.
MKString MsoPathOf(const MKRegKey& microsoft, int major)
{
    MKString path;
    if (major > 10) {
        MKRegKey paths = microsoft.OpenPath(MKString::FromFormat(L"Office\\%d.0\\Common\\FilesPaths", major), false);
        if (paths && paths.QueryString(L"mso.dll", path) && !path.IsEmpty())
            return MKPathFull(path);
    }
    MKRegKey windows = microsoft.OpenPath(L"Windows\\CurrentVersion", false);
    MKString common;
    if (!windows || !windows.QueryString(L"CommonFilesDir", common))
        return MKString();
    return MKPathCombine(common, MKString::FromFormat(L"Microsoft Shared\\Office%d\\MSO.DLL", major));
}

bool ReadFileVersion(const MKString& path, MKVersionLibrary& library, MKVersion& out)
{
    if (path.IsEmpty())
        return false;
    MKFileVersionInfo info(path);
    if (!info.Read(&library))
        return false;
    out = info.GetFileVersion();
    return true;
}

}  // namespace

void OfficeInfo::Reset()
{
    m_installRoot.Clear();
    m_msoPath.Clear();
    m_powerPointPath.Clear();
    m_productCode = 0;
    m_version = MKVersion();
    m_msoVersion = MKVersion();
    m_powerPointVersion = MKVersion();
}

bool OfficeInfo::Detect(int major)
{
    Reset();
    MKRegKey microsoft = MicrosoftKey();
    if (!microsoft)
        return false;
    if (major != 0) {
        m_installRoot = InstallRootOf(microsoft, major);
    } else {
        static const int kSearchOrder[] = {14, 12, 11, 10};
        for (int candidate : kSearchOrder) {
            m_installRoot = InstallRootOf(microsoft, candidate);
            if (!m_installRoot.IsEmpty()) {
                major = candidate;
                break;
            }
        }
    }
    if (m_installRoot.IsEmpty())
        return false;
    m_msoPath = MsoPathOf(microsoft, major);
    m_powerPointPath = MKPathCombine(m_installRoot, L"POWERPNT.EXE");

    MKVersionLibrary library;
    library.Load();
    bool msoKnown = ReadFileVersion(m_msoPath, library, m_msoVersion);
    bool powerPointKnown = ReadFileVersion(m_powerPointPath, library, m_powerPointVersion);
    library.Unload();

    if (msoKnown)
        m_productCode = ProductCodeFromMso(m_msoVersion);
    else if (powerPointKnown)
        m_productCode = ProductCodeFromPowerPoint(m_powerPointVersion);
    else
        m_productCode = major * 100;
    m_version = MKVersion(m_productCode / 100, 0, m_productCode % 100, 0);
    return true;
}

void OfficeInfo::SetFallback(int major)
{
    Reset();
    m_productCode = major * 100;
    m_version = MKVersion(major, 0, -1, -1);
}

int OfficeInfo::ProductCodeFromMso(const MKVersion& version)
{
    int build = version.build;
    switch (version.major) {
    case 10:
        return build > 6625 ? 1003 : build >= 4330 ? 1002 : build >= 3520 ? 1001 : 1000;
    case 11:
        return build > 8172 ? 1103 : build >= 7969 ? 1102 : build > 6360 ? 1101 : 1100;
    case 12:
        return build >= 6425 ? 1202 : build > 6212 ? 1201 : 1200;
    case 14:
        return 1400;
    default:
        return version.major * 100;
    }
}

int OfficeInfo::ProductCodeFromPowerPoint(const MKVersion& version)
{
    int build = version.build;
    switch (version.major) {
    case 10:
        return build > 6500 ? 1003 : build > 4204 ? 1002 : build > 3505 ? 1001 : 1000;
    case 12:
        return build > 6424 ? 1202 : build > 6210 ? 1201 : 1200;
    default:
        // Office 2003 service packs show in both files alike.
        return ProductCodeFromMso(version);
    }
}

const wchar_t* OfficeInfo::ProductName(int productCode)
{
    switch (productCode) {
    case 0:
        return L"None";
    case 1000:
        return L"Microsoft Office XP (Release)";
    case 1001:
        return L"Microsoft Office XP (SP1)";
    case 1002:
        return L"Microsoft Office XP (SP2)";
    case 1003:
        return L"Microsoft Office XP (SP3)";
    case 1100:
        return L"Microsoft Office 2003 (Release)";
    case 1101:
        return L"Microsoft Office 2003 (SP1)";
    case 1102:
        return L"Microsoft Office 2003 (SP2)";
    case 1103:
        return L"Microsoft Office 2003 (SP3)";
    case 1200:
        return L"Microsoft Office 2007 (Release)";
    case 1201:
        return L"Microsoft Office 2007 (SP1)";
    case 1202:
        return L"Microsoft Office 2007 (SP2)";
    case 1400:
        return L"Microsoft Office 2010 (Release)";
    default:
        return nullptr;
    }
}
