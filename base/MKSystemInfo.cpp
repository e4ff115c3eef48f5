#include "base/MKSystemInfo.h"

#include "base/MKDynLib.h"
#include "base/MKFileVersionInfo.h"
#include "base/MKOSName.h"
#include "base/MKRegKey.h"
#include "base/MKSpecialFolders.h"
#include "base/MKTextBuffer.h"

#include <windows.h>

namespace {

void AppendFormat(MKTextBuffer& out, const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    MKString line;
    line.FormatV(format, args);
    va_end(args);
    out.AppendText(line.GetText());
}

int Megabytes(uint64_t bytes)
{
    return int(bytes >> 20);
}

SYSTEM_INFO NativeSystemInfo()
{
    typedef void(WINAPI * GetNativeSystemInfoFunction)(SYSTEM_INFO*);
    SYSTEM_INFO info = {};
    GetNativeSystemInfoFunction native = nullptr;
    if (HMODULE kernel = GetModuleHandleW(L"kernel32.dll"))
        MKCastProc(GetProcAddress(kernel, "GetNativeSystemInfo"), native);
    if (native)
        native(&info);
    else
        GetSystemInfo(&info);
    return info;
}

}  // namespace

bool MKSystemInfo::Collect()
{
    MKRegKey processor = MKOpenRegKey::LocalMachine().OpenSubKey(
        MKString(L"HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0"), false);
    processorIdentifier.Clear();
    vendorIdentifier.Clear();
    processor.QueryString(L"Identifier", processorIdentifier);
    processor.QueryString(L"VendorIdentifier", vendorIdentifier);
    uint32_t mhz = 0;
    clockMhz = processor.GetDword(L"~MHz", mhz) ? int32_t(mhz) : 0;

    SYSTEM_INFO system = NativeSystemInfo();
    processorCount = int32_t(system.dwNumberOfProcessors);
    hasSse = IsProcessorFeaturePresent(PF_XMMI_INSTRUCTIONS_AVAILABLE) != FALSE;
    hasSse2 = IsProcessorFeaturePresent(PF_XMMI64_INSTRUCTIONS_AVAILABLE) != FALSE;

    productName.Clear();
    MKRegKey currentVersion = MKOpenRegKey::LocalMachine().OpenSubKey(
        MKString(L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion"), false);
    currentVersion.QueryString(L"ProductName", productName);
    OSVERSIONINFOEXW version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    bool extended = GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&version)) != FALSE;
    if (!extended) {
        version = OSVERSIONINFOEXW();
        version.dwOSVersionInfoSize = sizeof(OSVERSIONINFOW);
        GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&version));
    }
    osVersion = MKString::FromFormat(L"%d.%d Build %d", int(version.dwMajorVersion), int(version.dwMinorVersion),
                                     int(version.dwBuildNumber));
    osName = MKOSName(version, extended, system.wProcessorArchitecture, GetSystemMetrics(SM_SERVERR2) != 0);

    MEMORYSTATUS memory = {};
    memory.dwLength = sizeof(memory);
    GlobalMemoryStatus(&memory);
    memoryLoad = int32_t(memory.dwMemoryLoad);
    physicalTotal = memory.dwTotalPhys;
    physicalAvailable = memory.dwAvailPhys;
    virtualTotal = memory.dwTotalVirtual;
    virtualAvailable = memory.dwAvailVirtual;

    MKFileVersionInfo d3d9(MKGetSystemDirectory() + L"d3d9.dll");
    direct3d9Version = d3d9.Read() ? d3d9.GetFileVersion() : MKVersion();
    return true;
}

void MKSystemInfo::WriteProcessor(MKTextBuffer& out) const
{
    MKString cores = processorCount > 1 ? MKString::FromFormat(L"%d cores, ", int(processorCount)) : MKString();
    AppendFormat(out, L"Processor: %s, %s, %d Mhz, %s%s, %s\n", processorIdentifier.GetText(),
                 vendorIdentifier.GetText(), int(clockMhz), cores.GetText(), hasSse ? L"SSE" : L"NoSSE",
                 hasSse2 ? L"SSE2" : L"NoSSE2");
}

void MKSystemInfo::WriteMemory(MKTextBuffer& out) const
{
    out.AppendText(L"Memory:\n");
    AppendFormat(out, L"  Load: %d%%\n", int(memoryLoad));
    AppendFormat(out, L"  Physical Memory (available/total): %d MB / %d MB\n", Megabytes(physicalAvailable),
                 Megabytes(physicalTotal));
    AppendFormat(out, L"  Virtual Memory (available/total): %d MB / %d MB\n", Megabytes(virtualAvailable),
                 Megabytes(virtualTotal));
}
