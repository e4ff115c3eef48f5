#pragma once
#include <windows.h>
#include <stdint.h>

#include "base/MKString.h"

class AssemblyName;
class ClrHost;
class ClrObject;

// The .NET report assembly that the installer program VistelloUpdater.exe
// carries as resource "BIN" 500: an i32 n, then the image as it is (n < 0),
// or scrambled with kReportResourceSeed over the raw LZMA form of exactly n
// bytes (n >= 0). Held for one report: host started, assembly loaded, the
// report object made; Release disposes of the object and stops the host,
// unless the runtime was already running in the process (the main add-in's
// plug-ins use it), which is then left running.
class UpdateHelperAssembly {
public:
    static const int kResourceId = 500;
    static const uint32_t kReportResourceSeed = 0x5A17C0DE;
    // The largest image (and stored resource) accepted; the report assembly
    // is a few kilobytes.
    static const int32_t kMaxImageSize = 16 * 1024 * 1024;

    UpdateHelperAssembly() = default;
    ~UpdateHelperAssembly() { Release(); }
    UpdateHelperAssembly(const UpdateHelperAssembly&) = delete;
    UpdateHelperAssembly& operator=(const UpdateHelperAssembly&) = delete;

    // A host exists or the 2.0 runtime with a service pack is installed.
    bool CanUse() const;
    // Starts the host in the default domain; true when one runs.
    bool StartHost();
    // Maps VistelloUpdater.exe of the folder as data (nothing of it runs),
    // loads the assembly from its resource and creates the type.
    bool Load(const wchar_t* typeName, const MKString& folder);
    bool LoadFromResource(const wchar_t* typeName, HMODULE module, int identifier);
    // The report object, or null.
    ClrObject* GetObject() const { return m_object; }
    // Calls "Dispose" on the object, drops it and stops the host.
    void Release();

private:
    ClrHost* m_host = nullptr;
    AssemblyName* m_assembly = nullptr;
    ClrObject* m_object = nullptr;
    bool m_sharedRuntime = false;
};
