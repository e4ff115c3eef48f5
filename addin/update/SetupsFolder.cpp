#include "addin/update/SetupsFolder.h"
#include "addin/update/ConfinedPath.h"
#include "addin/update/FileOperations.h"
#include "base/MKFile.h"
#include "base/MKPath.h"

MKString GetSetupsFolder(const MKString& installationFolder)
{
    return MKPathCombine(installationFolder, L"setups");
}

bool EnsureSetupsFolder(const MKString& installationFolder, const MKSharedSecurity* security)
{
    return MKDirectoryExists(GetSetupsFolder(installationFolder)) ||
        CreateFolderPath(installationFolder, L"setups", security) == 0;
}

MKString GetSetupPackagePath(const MKString& installationFolder, const MKString& name)
{
    if (!IsPlainFileName(name))
        return MKString();
    return MKPathCombine(GetSetupsFolder(installationFolder), MKPathChangeExtension(name, L".vlx"));
}
