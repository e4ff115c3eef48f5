// The update engine's stored files: update packages and module packages (as
// the update check downloads them and the add-in opens its plug-ins) and the
// installed plug-in list "plugins.dat". Packages are mutated in their plain
// form (PackageForm.h) and stored again before each read.
#include <string>

#include "FuzzScratch.h"
#include "FuzzTarget.h"
#include "PackageForm.h"
#include "addin/core/ModulePluginPackage.h"
#include "addin/update/InstalledPlugin.h"
#include "addin/update/InstalledPlugins.h"
#include "addin/update/ModulePackage.h"
#include "addin/update/UpdatePackage.h"
#include "base/MKTOArray.h"

namespace {

void AddPackageSeeds(const std::wstring& fixtures, const wchar_t* pattern, const char* kind,
                     std::vector<FuzzInput>& seeds)
{
    std::vector<FuzzInput> stored;
    AddSeedFilesMatching(fixtures + L"\\update\\packages", pattern, kind, stored);
    for (FuzzInput& input : stored)
        seeds.push_back({PackageToPlain(input.bytes), kind});
}

void AddUpdateSeeds(const std::wstring& fixtures, std::vector<FuzzInput>& seeds)
{
    AddPackageSeeds(fixtures, L"update_*.bin", "update", seeds);
}

void AddModuleSeeds(const std::wstring& fixtures, std::vector<FuzzInput>& seeds)
{
    AddPackageSeeds(fixtures, L"module_*.bin", "module", seeds);
}

MKString WritePackage(const FuzzInput& input, const wchar_t* name)
{
    const std::wstring path = FuzzScratchFile(name);
    if (!WriteScratchFile(path, PackageToStored(input.bytes)))
        return MKString();
    return MKString(path.c_str());
}

// Opens the package, verifies it and extracts every item into the scratch
// folder, the way the installer stages them.
void RunUpdate(const FuzzInput& input)
{
    const MKString path = WritePackage(input, L"package.vlx");
    UpdatePackage package;
    if (path.IsEmpty() || package.Open(path) != UpdatePackageOk)
        return;
    package.VerifyItems();
    package.GetInstalledSize();
    const MKString target(FuzzScratchFile(L"item.out").c_str());
    for (int i = 0; i < package.GetItemCount(); ++i)
        package.GetItem(i)->ExtractToFile(target, nullptr);
}

// Opens the package and reads it the way the add-in reads a plug-in: its
// assemblies, every entry with and without the digest check, symbol files.
void RunModule(const FuzzInput& input)
{
    const MKString path = WritePackage(input, L"module.vmp");
    ModulePackage package;
    if (path.IsEmpty() || package.Open(path) != ModulePackageOk)
        return;
    ModulePluginPackage plugin(package);
    MKTOArray<PackageAssembly> assemblies;
    plugin.ListAssemblies(assemblies);
    for (int i = 0; i < package.GetEntryCount(); ++i) {
        const ModuleEntry* entry = package.GetEntry(i);
        MKByteArray bytes;
        package.ExtractEntry(*entry, bytes, false);
        MKTArray<uint8_t> checked;
        plugin.ReadEntry(entry->name, checked);
        MKString symbols;
        plugin.GetSymbolFile(entry->name, symbols);
    }
}

void AddListSeeds(const std::wstring& fixtures, std::vector<FuzzInput>& seeds)
{
    AddSeedFilesMatching(fixtures + L"\\update\\packages", L"plugins_*.bin", "plugins", seeds);
    AddSeedFilesMatching(fixtures + L"\\update\\install", L"plugins.dat", "plugins", seeds);
}

// The list in the scratch folder as the installation folder, loaded with the
// main module package it names (found there or not).
void RunList(const FuzzInput& input)
{
    if (!WriteScratchFile(FuzzScratchFile(L"plugins.dat"), input.bytes))
        return;
    InstalledPlugins list(MKString(FuzzScratchFolder().c_str()));
    if (list.Load() != InstalledPluginsOk)
        return;
    for (int i = 0; i < list.GetCount(); ++i) {
        MKString path;
        list.GetAt(i)->GetMainModulePath(path);
    }
    list.GetMainModule();
}

}  // namespace

const FuzzTarget& UpdatePackageTarget()
{
    static const FuzzTarget target = {"update-package", AddUpdateSeeds, RunUpdate, nullptr};
    return target;
}

const FuzzTarget& ModulePackageTarget()
{
    static const FuzzTarget target = {"module-package", AddModuleSeeds, RunModule, nullptr};
    return target;
}

const FuzzTarget& PluginListTarget()
{
    static const FuzzTarget target = {"plugins", AddListSeeds, RunList, nullptr};
    return target;
}
