#include "addin/core/RuntimeVersions.h"

#include "base/MKFileVersionInfo.h"
#include "base/MKPath.h"
#include "base/MKOpenRegKey.h"
#include "base/MKRegKey.h"

namespace {

const wchar_t kSetupKey20[] = L"Software\\Microsoft\\NET Framework Setup\\NDP\\v2.0.50727";
const wchar_t kClientLayerKey20[] = L"Software\\Microsoft\\NET Framework Setup\\DotNetClient\\v3.5\\Layers\\v2.0";

MKRegKey OpenMachineKey(const wchar_t* path)
{
    return MKOpenRegKey::LocalMachine().OpenSubKey(path, false);
}

bool IsInstallFlagSet(const wchar_t* keyPath)
{
    uint32_t install = 0;
    MKRegKey key = OpenMachineKey(keyPath);
    return key && key.GetDword(L"Install", install) && install == 1;
}

}  // namespace

MKString ReadNetFrameworkInstallRoot()
{
    MKString root;
    MKRegKey key = OpenMachineKey(L"Software\\Microsoft\\.NETFramework");
    if (!key || !key.QueryString(L"InstallRoot", root))
        return MKString();
    return root;
}

const MKString& RuntimeVersions::GetInstallRoot()
{
    if (!m_installRootRead) {
        m_installRoot = ReadNetFrameworkInstallRoot();
        m_installRootRead = true;
    }
    return m_installRoot;
}

const MKString& RuntimeVersions::GetRuntimeFile(int generation)
{
    static const MKString s_none;
    if (generation < 0 || generation >= GenerationCount)
        return s_none;
    CachedFile& cached = m_files[generation];
    if (cached.filled)
        return cached.path;
    cached.filled = true;
    if (generation == Net4Client) {
        MKString folder;
        MKRegKey key = OpenMachineKey(L"Software\\Microsoft\\NET Framework Setup\\NDP\\v4\\Client");
        if (key && key.QueryString(L"InstallPath", folder) && !folder.IsEmpty())
            cached.path = MKPathCombine(folder, L"clr.dll");
        return cached.path;
    }
    const MKString& root = GetInstallRoot();
    if (root.IsEmpty())
        return cached.path;
    const wchar_t* folder = generation == Net10 ? L"v1.0.3705" : generation == Net11 ? L"v1.1.4322" : L"v2.0.50727";
    cached.path = MKPathCombine(MKPathCombine(root, folder), L"mscorwks.dll");
    return cached.path;
}

MKVersion RuntimeVersions::GetRuntimeVersion(int generation)
{
    if (generation < 0 || generation >= GenerationCount)
        return MKVersion();
    CachedVersion& cached = m_versions[generation];
    if (!cached.filled) {
        cached.filled = true;
        const MKString& path = GetRuntimeFile(generation);
        if (!path.IsEmpty()) {
            MKFileVersionInfo info(path);
            if (info.Read())
                cached.version = info.GetFileVersion();
        }
    }
    return cached.version;
}

bool RuntimeVersions::IsRuntime2Installed(MKVersion& out)
{
    out = MKVersion();
    if (!IsInstallFlagSet(kSetupKey20) && !IsInstallFlagSet(kClientLayerKey20))
        return false;
    MKVersion version = GetRuntimeVersion(Net20);
    if (version.IsLess(MKVersion(2, 0, 50727, 42)))
        return false;
    out = version;
    return true;
}

int ReadServicePack(const wchar_t* keyPath)
{
    uint32_t servicePack = 0;
    MKRegKey key = OpenMachineKey(keyPath);
    if (!key || !key.GetDword(L"SP", servicePack))
        return -1;
    return static_cast<int>(servicePack);
}

int GetRuntime2ServicePack()
{
    int servicePack = ReadServicePack(kSetupKey20);
    if (servicePack == -1)
        servicePack = ReadServicePack(kClientLayerKey20);
    return servicePack == -1 ? 0 : servicePack;
}

bool IsClrRequirementMet()
{
    RuntimeVersions versions;
    MKVersion version;
    return versions.IsRuntime2Installed(version) && GetRuntime2ServicePack() > 0;
}
