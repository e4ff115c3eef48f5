#include "addin/core/ModulePluginPackage.h"

#include "addin/core/AssemblyName.h"
#include "addin/effects/EffectDataRecord.h"
#include "addin/update/ConfinedPath.h"
#include "addin/update/ModulePackage.h"
#include "base/MKGuid.h"
#include "base/MKPath.h"

const MKString& ModulePluginPackage::GetName() const
{
    return m_package.GetName();
}

MKVersion ModulePluginPackage::GetVersion() const
{
    return m_package.GetVersion();
}

bool ModulePluginPackage::ListAssemblies(MKTOArray<PackageAssembly>& out) const
{
    out.RemoveAll();
    MKTArray<const ModuleEntry*> entries;
    if (!m_package.ListEntries(entries))
        return false;
    const ModuleEntry* main = m_package.GetMainEntry();
    for (int i = 0; i < entries.GetCount(); ++i) {
        const ModuleEntry* entry = entries[i];
        if (entry->kind != kModuleEntryAssembly)
            continue;
        AssemblyToken token;
        token.present = entry->assembly.hasToken;
        token.value = entry->assembly.token;
        PackageAssembly assembly;
        assembly.displayName =
            AssemblyName::FormatDisplayName(entry->assembly.simpleName, entry->assembly.version, token);
        assembly.entryName = entry->name;
        assembly.isMain = entry == main;
        if (!out.Add(assembly))
            return false;
    }
    return true;
}

bool ModulePluginPackage::ReadEntry(const MKString& entryName, MKTArray<uint8_t>& out) const
{
    const ModuleEntry* entry = m_package.FindEntryByName(entryName);
    // The entry's own digest covers its stored bytes whether or not the header
    // is signed: a damaged entry is never handed out.
    return entry && m_package.ExtractEntry(*entry, out, true);
}

bool ModulePluginPackage::GetSymbolFile(const MKString& entryName, MKString& path) const
{
    const ModuleEntry* entry = m_package.FindEntryByName(entryName);
    if (!entry || entry->kind != kModuleEntryAssembly || entry->assembly.symbolFile.IsEmpty())
        return false;
    // The name comes from the package: like every stored path it must stay
    // inside the plug-in's own folder, never reach a share or another folder.
    const MKString& stored = entry->assembly.symbolFile;
    if (!IsConfinedRelativePath(stored))
        return false;
    path = MKPathCombine(MKPathDirectory(m_package.GetPath()), stored);
    return !path.IsEmpty();
}

bool ModulePluginPackage::FindTypeByGuid(const GUID& type, PackageTypeInfo& out) const
{
    const ModuleType* record = m_package.FindTypeByGuid(MKGuid(type));
    if (!record)
        return false;
    out.name = record->name;
    out.description = record->secondName;
    out.version = record->version;
    out.flags = record->flags;
    return true;
}
