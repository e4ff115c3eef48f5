#pragma once
#include <windows.h>
#include <string>
#include <vector>

// The stand-in .NET runtime set up for one test: the registry values by
// which the runtime 2.0 with its first service pack is found (InstallRoot at
// the stand-in's framework folder), a fresh call log, and no injected
// failures. The destructor puts the registry and the environment back.
class StandInClr {
public:
    StandInClr();
    ~StandInClr();
    StandInClr(const StandInClr&) = delete;
    StandInClr& operator=(const StandInClr&) = delete;

    // The logged lines, in order.
    std::vector<std::wstring> Log() const;
    void ClearLog() const;
    // The logged lines that begin with one of the prefixes, in order.
    std::vector<std::wstring> LogOf(const std::vector<std::wstring>& prefixes) const;
    // Calls ("Kernel.SetCallback", ...) that answer E_FAIL from now on.
    static void Fail(const std::wstring& calls);
    // The framework folder holding v2.0.50727\mscorwks.dll.
    static std::wstring FrameworkFolder();
    // Sets or deletes (-1) the service pack of the runtime 2.0's setup key.
    static void SetServicePack(long servicePack);

    static const wchar_t kSetupKey[];
    static const wchar_t kClientLayerKey[];
    static const wchar_t kFrameworkKey[];

private:
    std::wstring m_logPath;
    std::wstring m_installRoot;
    bool m_hadInstallRoot = false;
};
