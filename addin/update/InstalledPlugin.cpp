#include "addin/update/InstalledPlugin.h"
#include "addin/update/ConfinedPath.h"
#include "addin/update/FileOperationSet.h"
#include "addin/update/ModulePackage.h"
#include "addin/update/SetupsFolder.h"
#include "addin/update/UpdatePackage.h"
#include "base/MKFile.h"
#include "base/MKPath.h"

InstalledPlugin::~InstalledPlugin()
{
    delete m_mainModule;
    delete m_setupPackage;
}

bool InstalledPlugin::GetMainModulePath(MKString& path) const
{
    path.Clear();
    if (!IsConfinedRelativePath(mainFolder) || !IsPlainFileName(mainFile))
        return false;
    path = MKPathCombine(MKPathCombine(m_installationFolder, mainFolder), mainFile);
    return true;
}

bool InstalledPlugin::OpenMainModule()
{
    if (m_mainModule)
        return true;
    MKString path;
    if (!GetMainModulePath(path))
        return false;
    ModulePackage* package = new ModulePackage;
    if (package->Open(path) != ModulePackageOk) {
        delete package;
        return false;
    }
    m_mainModule = package;
    return true;
}

bool InstalledPlugin::GetSetupPackagePath(MKString& path) const
{
    path = ::GetSetupPackagePath(m_installationFolder, name);
    return !path.IsEmpty();
}

bool InstalledPlugin::OpenSetupPackage()
{
    if (m_setupPackage)
        return true;
    MKString path;
    if (!GetSetupPackagePath(path))
        return false;
    UpdatePackage* package = new UpdatePackage;
    if (package->Open(path) != UpdatePackageOk) {
        delete package;
        return false;
    }
    m_setupPackage = package;
    return true;
}

void InstalledPlugin::SetFromPackage(const UpdatePackage& package)
{
    const int32_t kMainModuleItem = 1;
    const PackageItem* main = package.GetItem(0);
    if (main && main->kind == kMainModuleItem) {
        mainFolder = MKPathCombine(package.GetTargetFolder(), main->folder);
        mainFile = main->name;
    } else {
        mainFolder = package.GetTargetFolder();
        mainFile.Clear();
    }
    guid = package.GetGuid();
    name = package.GetName();
    version = package.GetVersion();
    packageKind = package.GetPackageKind();
    moduleKind = package.GetModuleKind();
    MKDateTime now = MKDateTime::UtcNow();
    if (installed.GetValue() == 0)
        installed = now;
    updated = now;
}

void InstalledPlugin::PlanBackup(const wchar_t* suffix, FileOperationSet& set)
{
    set.Reset();
    if (OpenSetupPackage())
        m_setupPackage->PlanBackup(m_installationFolder, suffix, set);
    MKString package;
    if (GetSetupPackagePath(package) && MKPathAccess(package, 0) != MKPathNotFound)
        set.AddRename(package, package + suffix);
}
