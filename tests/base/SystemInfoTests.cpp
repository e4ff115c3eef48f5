#include "base/MKDisplayReport.h"
#include "base/MKOSName.h"
#include "base/MKSystemChecks.h"
#include "base/MKSystemInfo.h"
#include "base/MKTextBuffer.h"

#include "BaseTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>
#include <windows.h>

namespace {

// Puts answers in place for one test and the system's back afterwards.
class InjectedAnswers {
public:
    explicit InjectedAnswers(const MKSystemCheckAnswers& answers) { MKSetSystemCheckAnswers(&answers); }
    ~InjectedAnswers() { MKSetSystemCheckAnswers(nullptr); }
};

TEST(SystemChecks, InjectedAnswers)
{
    {
        MKSystemCheckAnswers xp;
        xp.vistaOrLater = 0;
        xp.osVersionNumber = 50103;
        InjectedAnswers scope(xp);
        EXPECT_FALSE(MKIsVistaOrLater());
        // Before Vista there is no elevation and no composition to ask about.
        EXPECT_EQ(1, MKGetElevationType());
        EXPECT_FALSE(MKIsDwmCompositionEnabled());
        EXPECT_EQ(50103, MKGetOSVersionNumber());
    }
    {
        MKSystemCheckAnswers limitedUser;
        limitedUser.vistaOrLater = 1;
        limitedUser.elevationType = 3;  // TokenElevationTypeLimited
        limitedUser.userAdmin = 0;
        limitedUser.wow64 = 1;
        limitedUser.dwmCompositionEnabled = 1;
        limitedUser.osVersionNumber = 1060101;
        InjectedAnswers scope(limitedUser);
        EXPECT_TRUE(MKIsVistaOrLater());
        EXPECT_EQ(3, MKGetElevationType());
        EXPECT_FALSE(MKIsUserAdmin());
        EXPECT_TRUE(MKIsWow64());
        EXPECT_TRUE(MKIsDwmCompositionEnabled());
        EXPECT_EQ(1060101, MKGetOSVersionNumber());
    }
}

TEST(SystemChecks, SystemAnswersUnderWine)
{
    MKSetSystemCheckAnswers(nullptr);
    OSVERSIONINFOEXW version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    ASSERT_TRUE(GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&version)));
    EXPECT_EQ(version.dwMajorVersion >= 6, MKIsVistaOrLater());
    // A 32-bit prefix: no WOW64.
    EXPECT_FALSE(MKIsWow64());
    EXPECT_EQ(MKOSVersionNumberOf(version.dwMajorVersion, version.dwMinorVersion, version.wServicePackMajor, false),
              MKGetOSVersionNumber());
    // Wine never composes the desktop.
    EXPECT_FALSE(MKIsDwmCompositionEnabled());

    HANDLE token;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token));
    TOKEN_ELEVATION_TYPE type;
    DWORD size;
    ASSERT_TRUE(GetTokenInformation(token, TokenElevationType, &type, sizeof(type), &size));
    CloseHandle(token);
    EXPECT_EQ(int(type), MKGetElevationType());

    // Administrators through a SID built another way.
    BYTE sid[SECURITY_MAX_SID_SIZE];
    DWORD sidSize = sizeof(sid);
    ASSERT_TRUE(CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, sid, &sidSize));
    BOOL member = FALSE;
    ASSERT_TRUE(CheckTokenMembership(nullptr, sid, &member));
    EXPECT_EQ(member != FALSE, MKIsUserAdmin());
    EXPECT_EQ(member != FALSE, MKIsMemberOfBuiltinGroup(DOMAIN_ALIAS_RID_ADMINS));
    EXPECT_FALSE(MKIsMemberOfBuiltinGroup(0x7FFF));
}

TEST(SystemChecks, VersionNumbers)
{
    EXPECT_EQ(50103, MKOSVersionNumberOf(5, 1, 3, false));
    EXPECT_EQ(1060101, MKOSVersionNumberOf(6, 1, 1, true));
    EXPECT_EQ(100000, MKOSVersionNumberOf(10, 0, 0, false));
    EXPECT_EQ(60203, MKOSVersionNumberOf(106, 102, 103, false));
}

OSVERSIONINFOEXW Version(DWORD platform, DWORD major, DWORD minor, DWORD build, const wchar_t* servicePack,
                         BYTE productType = VER_NT_WORKSTATION, WORD suite = 0)
{
    OSVERSIONINFOEXW v = {};
    v.dwOSVersionInfoSize = sizeof(v);
    v.dwPlatformId = platform;
    v.dwMajorVersion = major;
    v.dwMinorVersion = minor;
    v.dwBuildNumber = build;
    wcsncpy(v.szCSDVersion, servicePack, 127);
    v.wProductType = productType;
    v.wSuiteMask = suite;
    return v;
}

TEST(SystemInfo, OperatingSystemNames)
{
    const WORD x86 = PROCESSOR_ARCHITECTURE_INTEL;
    const WORD x64 = PROCESSOR_ARCHITECTURE_AMD64;
    const WORD ia64 = PROCESSOR_ARCHITECTURE_IA64;
    const DWORD nt = VER_PLATFORM_WIN32_NT;
    const DWORD w9x = VER_PLATFORM_WIN32_WINDOWS;
    struct {
        OSVERSIONINFOEXW version;
        bool extended;
        WORD architecture;
        bool serverR2;
        const wchar_t* name;
    } cases[] = {
        {Version(nt, 5, 1, 2600, L"Service Pack 3"), true, x86, false,
         L"Microsoft Windows XP Professional Service Pack 3 (Build 2600)"},
        {Version(nt, 5, 1, 2600, L"Service Pack 2", VER_NT_WORKSTATION, VER_SUITE_PERSONAL), true, x86, false,
         L"Microsoft Windows XP Home Edition Service Pack 2 (Build 2600)"},
        {Version(nt, 5, 1, 2600, L""), false, x86, false, L"Microsoft Windows XP  (Build 2600)"},
        {Version(nt, 6, 1, 7601, L"Service Pack 1"), true, x86, false,
         L"Windows 7 Professional Service Pack 1 (Build 7601)"},
        {Version(nt, 6, 1, 7601, L"Service Pack 1"), true, x64, false, L"Windows 7 Service Pack 1 (Build 7601)"},
        {Version(nt, 6, 0, 6002, L"Service Pack 2"), true, x86, false,
         L"Windows Vista Professional Service Pack 2 (Build 6002)"},
        {Version(nt, 6, 0, 6001, L"", VER_NT_SERVER, VER_SUITE_ENTERPRISE), true, x86, false,
         L"Windows Server 2008 Server 4.0, Enterprise Edition  (Build 6001)"},
        // Windows 8 and later: only the edition and the build part.
        {Version(nt, 6, 2, 9200, L""), true, x86, false, L"Professional  (Build 9200)"},
        {Version(nt, 10, 0, 0x4A6565, L""), true, x86, false, L"Windows 10 (0) Professional  (Build 25957)"},
        {Version(nt, 5, 2, 3790, L"Service Pack 2", VER_NT_SERVER, VER_SUITE_DATACENTER), true, x86, true,
         L"Microsoft Windows Server 2003 \"R2\" Datacenter Edition Service Pack 2 (Build 3790)"},
        {Version(nt, 5, 2, 3790, L"", VER_NT_SERVER, VER_SUITE_BLADE), true, x86, false,
         L"Microsoft Windows Server 2003, Web Edition  (Build 3790)"},
        {Version(nt, 5, 2, 3790, L"", VER_NT_DOMAIN_CONTROLLER), true, x64, false,
         L"Microsoft Windows Server 2003, Standard x64 Edition  (Build 3790)"},
        {Version(nt, 5, 2, 3790, L"", VER_NT_SERVER, VER_SUITE_ENTERPRISE), true, ia64, false,
         L"Microsoft Windows Server 2003, Enterprise Edition for Itanium-based Systems (Build 3790)"},
        {Version(nt, 5, 2, 3790, L""), true, x64, false, L"Microsoft Windows XP Professional x64 Edition  (Build 3790)"},
        {Version(nt, 5, 0, 2195, L"Service Pack 4", VER_NT_SERVER, VER_SUITE_ENTERPRISE), true, x86, false,
         L"Microsoft Windows 2000 Advanced Server Service Pack 4 (Build 2195)"},
        {Version(nt, 4, 0, 1381, L"Service Pack 6"), true, x86, false,
         L"Microsoft Windows NT Workstation 4.0 Service Pack 6 (Build 1381)"},
        {Version(nt, 4, 0, 1381, L"Service Pack 6", VER_NT_SERVER), true, x86, false,
         L"Microsoft Windows NT Server 4.0 Service Pack 6 (Build 1381)"},
        {Version(w9x, 4, 0, 950, L"B"), false, x86, false, L"Microsoft Windows 95 OSR2"},
        {Version(w9x, 4, 10, 2222, L"A"), false, x86, false, L"Microsoft Windows 98 SE"},
        {Version(w9x, 4, 10, 1998, L""), false, x86, false, L"Microsoft Windows 98"},
        {Version(w9x, 4, 90, 3000, L" "), false, x86, false, L"Microsoft Windows Millennium Edition"},
        {Version(VER_PLATFORM_WIN32s, 3, 1, 0, L""), false, x86, false, L"Microsoft Win32s"},
        {Version(7, 1, 0, 0, L""), false, x86, false, L"Unknown platform (7)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.name, Text(MKOSName(c.version, c.extended, c.architecture, c.serverR2)));
}

TEST(SystemInfo, ReportLinesOfAGivenRecord)
{
    MKSystemInfo info;
    EXPECT_EQ(-1, info.direct3d9Version.build);
    info.processorIdentifier = L"x86 Family 6 Model 15";
    info.vendorIdentifier = L"GenuineIntel";
    info.clockMhz = 2000;
    info.processorCount = 1;
    info.hasSse = true;
    info.hasSse2 = true;
    MKTextBuffer out;
    info.WriteProcessor(out);
    EXPECT_EQ(L"Processor: x86 Family 6 Model 15, GenuineIntel, 2000 Mhz, SSE, SSE2\n", std::wstring(out.GetText()));

    out.Clear();
    info.processorCount = 4;
    info.hasSse2 = false;
    info.WriteProcessor(out);
    EXPECT_EQ(L"Processor: x86 Family 6 Model 15, GenuineIntel, 2000 Mhz, 4 cores, SSE, NoSSE2\n",
              std::wstring(out.GetText()));

    out.Clear();
    info.memoryLoad = 37;
    info.physicalTotal = 2048ull << 20;
    info.physicalAvailable = (1024ull << 20) + 12345;
    info.virtualTotal = 2047ull << 20;
    info.virtualAvailable = 1900ull << 20;
    info.WriteMemory(out);
    EXPECT_EQ(L"Memory:\n"
              L"  Load: 37%\n"
              L"  Physical Memory (available/total): 1024 MB / 2048 MB\n"
              L"  Virtual Memory (available/total): 1900 MB / 2047 MB\n",
              std::wstring(out.GetText()));
}

TEST(SystemInfo, CollectUnderWine)
{
    MKSystemInfo info;
    ASSERT_TRUE(info.Collect());
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    EXPECT_EQ(int32_t(system.dwNumberOfProcessors), info.processorCount);
    EXPECT_TRUE(info.hasSse2);
    EXPECT_FALSE(info.processorIdentifier.IsEmpty());
    EXPECT_GT(info.physicalTotal, 0u);
    EXPECT_LE(info.physicalAvailable, info.physicalTotal);
    EXPECT_FALSE(info.osName.IsEmpty());
    EXPECT_NE(L' ', info.osName[0]);
    EXPECT_NE(L' ', info.osName[info.osName.GetLength() - 1]);
    OSVERSIONINFOW version = {sizeof(version)};
    GetVersionExW(&version);
    EXPECT_EQ(MKString::FromFormat(L"%d.%d Build %d", int(version.dwMajorVersion), int(version.dwMinorVersion),
                                   int(version.dwBuildNumber))
                  .GetText(),
              Text(info.osVersion));
    // Wine's own d3d9.dll carries a version resource.
    EXPECT_GT(info.direct3d9Version.major, 0);
    EXPECT_NE(-1, info.direct3d9Version.revision);
}

// Adapters as a table: an adapter without a monitor writes nothing.
class TableDisplays : public MKDisplaySource {
public:
    struct Adapter {
        const wchar_t* name;
        const wchar_t* description;
        DWORD flags;
        const wchar_t* monitor;  // null: none attached
        DWORD width, height, bits, dpi;  // width 0: mode unknown
    };
    explicit TableDisplays(std::vector<Adapter> adapters) : m_adapters(std::move(adapters)) {}

    bool GetAdapter(DWORD index, DISPLAY_DEVICEW& adapter) override
    {
        if (index >= m_adapters.size())
            return false;
        wcscpy(adapter.DeviceName, m_adapters[index].name);
        wcscpy(adapter.DeviceString, m_adapters[index].description);
        adapter.StateFlags = m_adapters[index].flags;
        return true;
    }
    bool GetMonitor(const wchar_t* adapterName, DISPLAY_DEVICEW& monitor) override
    {
        const Adapter* a = Find(adapterName);
        if (!a || !a->monitor)
            return false;
        wcscpy(monitor.DeviceString, a->monitor);
        return true;
    }
    bool GetCurrentMode(const wchar_t* adapterName, DEVMODEW& mode) override
    {
        const Adapter* a = Find(adapterName);
        if (!a || a->width == 0)
            return false;
        mode.dmPelsWidth = a->width;
        mode.dmPelsHeight = a->height;
        mode.dmBitsPerPel = a->bits;
        mode.dmLogPixels = WORD(a->dpi);
        return true;
    }

private:
    const Adapter* Find(const wchar_t* name) const
    {
        for (const Adapter& a : m_adapters) {
            if (wcscmp(a.name, name) == 0)
                return &a;
        }
        return nullptr;
    }
    std::vector<Adapter> m_adapters;
};

TEST(DisplayReport, BlocksKeepTheirAdapterIndex)
{
    TableDisplays displays({
        {L"\\\\.\\DISPLAY1", L"Card One", DISPLAY_DEVICE_PRIMARY_DEVICE | DISPLAY_DEVICE_ATTACHED_TO_DESKTOP,
         L"Monitor A", 1920, 1080, 32, 96},
        {L"\\\\.\\DISPLAY2", L"Card Two", DISPLAY_DEVICE_ATTACHED_TO_DESKTOP, nullptr, 1024, 768, 32, 96},
        {L"\\\\.\\DISPLAY3", L"Card Three", DISPLAY_DEVICE_MIRRORING_DRIVER | DISPLAY_DEVICE_REMOVABLE, L"Monitor C",
         0, 0, 0, 0},
        {L"\\\\.\\DISPLAY4", L"Card Four", 0, L"Monitor D", 800, 600, 16, 120},
    });
    MKTextBuffer out;
    MKWriteDisplaysFrom(out, displays);
    EXPECT_EQ(L"Display 1\n"
              L"  Display Name: Card One\n"
              L"  Monitor Name: Monitor A\n"
              L"  Display Flags: Primary, Desktop\n"
              L"  Resolution: 1920 x 1080 x 32\n"
              L"  DPI: 96\n"
              L"Display 3\n"
              L"  Display Name: Card Three\n"
              L"  Monitor Name: Monitor C\n"
              L"  Display Flags: Mirroring, Removable\n"
              L"Display 4\n"
              L"  Display Name: Card Four\n"
              L"  Monitor Name: Monitor D\n"
              L"  Display Flags: \n"
              L"  Resolution: 800 x 600 x 16\n"
              L"  DPI: 120\n",
              std::wstring(out.GetText()));
}

TEST(DisplayReport, SystemDisplaysUnderWine)
{
    MKTextBuffer out;
    MKWriteDisplays(out);
    std::wstring text = out.GetText();
    ASSERT_EQ(0u, text.find(L"Display 1\n  Display Name: ")) << text;
    DEVMODEW mode = {};
    mode.dmSize = sizeof(mode);
    ASSERT_TRUE(EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &mode));
    std::wstring resolution = L"  Resolution: " + std::to_wstring(mode.dmPelsWidth) + L" x " +
                              std::to_wstring(mode.dmPelsHeight) + L" x " + std::to_wstring(mode.dmBitsPerPel) + L"\n";
    EXPECT_NE(std::wstring::npos, text.find(resolution)) << text;
    EXPECT_NE(std::wstring::npos, text.find(L"Primary")) << text;
}

}  // namespace
