#pragma once
#include "base/MKString.h"
#include "base/MKVersion.h"

// Which .NET runtimes the machine has, from the registry under
// HKEY_LOCAL_MACHINE and the version resources of the runtimes' main files.
// Built for one check and thrown away: lookups are cached per framework
// generation and never refreshed.
class RuntimeVersions {
public:
    // Framework generations: 1.0, 1.1, 2.0, 3.0, 3.5 and the 4 client
    // profile. 2.0 to 3.5 share the 2.0 runtime.
    enum Generation { Net10, Net11, Net20, Net30, Net35, Net4Client, GenerationCount };

    const MKString& GetInstallRoot();
    // The runtime's main file; empty when it cannot be told.
    const MKString& GetRuntimeFile(int generation);
    // That file's fixed version, 0.0.-1.-1 without a file or version resource.
    MKVersion GetRuntimeVersion(int generation);
    // True when the 2.0 runtime is registered as installed (Install = 1 in its
    // setup key, else in the client profile's layer key) and its file is at
    // least 2.0.50727.42; out is that version then, else 0.0.-1.-1.
    bool IsRuntime2Installed(MKVersion& out);

private:
    struct CachedFile {
        bool filled = false;
        MKString path;
    };
    struct CachedVersion {
        bool filled = false;
        MKVersion version;
    };
    bool m_installRootRead = false;
    MKString m_installRoot;
    CachedFile m_files[GenerationCount];
    CachedVersion m_versions[GenerationCount];
};

// "InstallRoot" of Software\Microsoft\.NETFramework; empty when missing.
MKString ReadNetFrameworkInstallRoot();
// The DWORD "SP" of the machine key, -1 when the key or value is missing.
int ReadServicePack(const wchar_t* keyPath);
// The 2.0 runtime's service pack (setup key, else the client profile's layer
// key), 0 when neither tells.
int GetRuntime2ServicePack();
// The 2.0 runtime is installed with a service pack.
bool IsClrRequirementMet();
