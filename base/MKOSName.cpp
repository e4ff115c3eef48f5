#include "base/MKOSName.h"

namespace {

bool Has(WORD suite, WORD flag)
{
    return (suite & flag) != 0;
}

const wchar_t* ServerEdition(const OSVERSIONINFOEXW& v, WORD architecture)
{
    WORD suite = v.wSuiteMask;
    bool datacenter = Has(suite, VER_SUITE_DATACENTER);
    bool enterprise = Has(suite, VER_SUITE_ENTERPRISE);
    if (v.dwMajorVersion == 5 && v.dwMinorVersion == 2) {
        if (architecture == PROCESSOR_ARCHITECTURE_IA64) {
            return datacenter   ? L"Datacenter Edition for Itanium-based Systems"
                   : enterprise ? L"Enterprise Edition for Itanium-based Systems"
                                : L"";
        }
        if (architecture == PROCESSOR_ARCHITECTURE_AMD64) {
            return datacenter   ? L"Datacenter x64 Edition "
                   : enterprise ? L"Enterprise x64 Edition "
                                : L"Standard x64 Edition ";
        }
        return datacenter                      ? L"Datacenter Edition "
               : enterprise                    ? L"Enterprise Edition "
               : Has(suite, VER_SUITE_BLADE)   ? L"Web Edition "
                                               : L"Standard Edition ";
    }
    if (v.dwMajorVersion == 5 && v.dwMinorVersion == 0)
        return datacenter ? L"Datacenter Server " : enterprise ? L"Advanced Server " : L"Server ";
    return enterprise ? L"Server 4.0, Enterprise Edition " : L"Server 4.0 ";
}

const wchar_t* Edition(const OSVERSIONINFOEXW& v, WORD architecture)
{
    if (v.wProductType == VER_NT_WORKSTATION) {
        if (architecture == PROCESSOR_ARCHITECTURE_AMD64)
            return L"";
        if (v.dwMajorVersion == 4)
            return L"Workstation 4.0 ";
        return Has(v.wSuiteMask, VER_SUITE_PERSONAL) ? L"Home Edition " : L"Professional ";
    }
    if (v.wProductType == VER_NT_SERVER || v.wProductType == VER_NT_DOMAIN_CONTROLLER)
        return ServerEdition(v, architecture);
    return L"";
}

MKString NtName(const OSVERSIONINFOEXW& v, bool extended, WORD architecture, bool serverR2)
{
    DWORD major = v.dwMajorVersion;
    DWORD minor = v.dwMinorVersion;
    MKString name;
    if (major > 6)
        name = MKString::FromFormat(L"Windows %d (%d) ", int(major), int(minor));
    else if (major == 6 && minor == 0)
        name = v.wProductType == VER_NT_WORKSTATION ? L"Windows Vista " : L"Windows Server 2008 ";
    else if (major == 6 && minor == 1)
        name = L"Windows 7 ";
    else if (major == 5 && minor == 0)
        name = L"Microsoft Windows 2000 ";
    else if (major == 5 && minor == 1)
        name = L"Microsoft Windows XP ";
    else if (major == 5 && minor == 2) {
        if (serverR2)
            name = L"Microsoft Windows Server 2003 \"R2\" ";
        else if (v.wProductType == VER_NT_WORKSTATION && architecture == PROCESSOR_ARCHITECTURE_AMD64)
            name = L"Microsoft Windows XP Professional x64 Edition ";
        else
            name = L"Microsoft Windows Server 2003, ";
    } else if (major <= 4)
        name = L"Microsoft Windows NT ";
    if (extended)
        name.AppendText(Edition(v, architecture));
    name.AppendString(MKString::FromFormat(L"%s (Build %d)", v.szCSDVersion, int(v.dwBuildNumber & 0xFFFF)));
    return name;
}

}  // namespace

MKString MKOSName(const OSVERSIONINFOEXW& version, bool extended, WORD processorArchitecture, bool serverR2)
{
    const wchar_t* servicePack = version.szCSDVersion;
    MKString name;
    switch (version.dwPlatformId) {
    case VER_PLATFORM_WIN32s:
        name = L"Microsoft Win32s";
        break;
    case VER_PLATFORM_WIN32_WINDOWS:
        if (version.dwMajorVersion == 4 && version.dwMinorVersion == 0) {
            name = L"Microsoft Windows 95 ";
            if (servicePack[0] == L'B' || servicePack[0] == L'C')
                name.AppendText(L"OSR2 ");
        } else if (version.dwMajorVersion == 4 && version.dwMinorVersion == 10) {
            name = L"Microsoft Windows 98 ";
            if (servicePack[0] == L'A' || servicePack[0] == L'B')
                name.AppendText(L"SE ");
        } else if (version.dwMajorVersion == 4 && version.dwMinorVersion == 90) {
            name = L"Microsoft Windows Millennium Edition";
        }
        break;
    case VER_PLATFORM_WIN32_NT:
        name = NtName(version, extended, processorArchitecture, serverR2);
        break;
    default:
        name = MKString::FromFormat(L"Unknown platform (%d)", int(version.dwPlatformId));
        break;
    }
    name.TrimRight();
    name.TrimLeft();
    return name;
}
