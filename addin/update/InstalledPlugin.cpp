#include "addin/update/InstalledPlugin.h"
#include "addin/update/ConfinedPath.h"
#include "addin/update/ModulePackage.h"
#include "base/MKPath.h"

InstalledPlugin::~InstalledPlugin()
{
    delete m_mainModule;
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
