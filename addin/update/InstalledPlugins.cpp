#include "addin/update/InstalledPlugins.h"
#include "addin/update/ModulePackage.h"
#include "addin/update/PackageHeaderBlock.h"
#include "addin/update/SetupIdentities.h"
#include "addin/update/UpdatePackage.h"
#include "base/MKBinaryReader.h"
#include "base/MKBinaryWriter.h"
#include "base/MKFile.h"
#include "base/MKInFileStream.h"
#include "base/MKMemOutStream.h"
#include "base/MKPath.h"
#include "base/MKPointerArrays.h"

namespace {

const uint32_t kMagic = 0x588CD93A;
const uint32_t kFormatVersion = 1;
const int32_t kMaxEntries = 999999;
const int32_t kKernelModule = 1;

} // namespace

InstalledPlugins::InstalledPlugins(const MKString& installationFolder) : m_installationFolder(installationFolder)
{
}

InstalledPlugins::~InstalledPlugins()
{
    MKDeleteAllItems(m_entries);
}

MKString InstalledPlugins::GetListPath() const
{
    return MKPathCombine(m_installationFolder, L"plugins.dat");
}

InstalledPlugin* InstalledPlugins::Add()
{
    InstalledPlugin* entry = new InstalledPlugin(m_installationFolder);
    if (!m_entries.Add(entry)) {
        delete entry;
        return nullptr;
    }
    return entry;
}

int InstalledPlugins::Load()
{
    MKInFileStream file;
    if (!file.Open(GetListPath().GetText()))
        return InstalledPluginsCannotOpen;
    MKBinaryReader reader(&file);
    uint32_t magic = 0;
    uint32_t version = 0;
    if (!reader.ReadU32(&magic) || magic != kMagic || !reader.ReadU32(&version) || version < 1 || version > 10000)
        return InstalledPluginsDamaged;
    if (!reader.ReadInt32(&listKind))
        listKind = 0;
    reader.ReadDateTime(&written);
    reader.ReadVersion(&productVersion);
    SkipPackageExtension(reader);
    int32_t count = 0;
    if (!reader.ReadInt32(&count))
        count = 0;
    if (count < 0 || count > kMaxEntries)
        return InstalledPluginsDamaged;
    // Entries are read one by one, never reserved by the count: a lying count
    // ends at the end of the data.
    for (int i = 0; i < count; ++i) {
        if (!ReadEntry(reader))
            return InstalledPluginsDamaged;
    }
    file.Close();
    int main = FindByGuid(MKGuid(kMainSetupGuid));
    if (main < 0)
        return InstalledPluginsDamaged;
    InstalledPlugin* first = m_entries[main];
    m_entries.RemoveAt(main);
    m_entries.InsertAt(0, first);
    return InstalledPluginsOk;
}

bool InstalledPlugins::ReadEntry(MKBinaryReader& reader)
{
    InstalledPlugin* entry = Add();
    if (!entry)
        return false;
    reader.ReadGuid(&entry->guid);
    reader.ReadString(&entry->name);
    reader.ReadVersion(&entry->version);
    reader.ReadInt32(&entry->packageKind);
    reader.ReadInt32(&entry->moduleKind);
    reader.ReadString(&entry->mainFolder);
    reader.ReadString(&entry->mainFile);
    reader.ReadDateTime(&entry->installed);
    reader.ReadDateTime(&entry->updated);
    SkipPackageExtension(reader);
    return reader.IsOk();
}

bool InstalledPlugins::Save()
{
    return SaveTo(GetListPath());
}

bool InstalledPlugins::SaveTo(const MKString& path)
{
    MKMemOutStream memory;
    MKBinaryWriter writer(&memory);
    written = MKDateTime::UtcNow();
    writer.WriteU32(kMagic);
    writer.WriteU32(kFormatVersion);
    writer.WriteInt32(listKind);
    writer.WriteDateTime(written);
    writer.WriteVersion(productVersion);
    writer.WriteU32(0);
    writer.WriteInt32(m_entries.GetCount());
    for (int i = 0; i < m_entries.GetCount(); ++i) {
        const InstalledPlugin& entry = *m_entries[i];
        writer.WriteGuid(entry.guid);
        writer.WriteString(entry.name);
        writer.WriteVersion(entry.version);
        writer.WriteInt32(entry.packageKind);
        writer.WriteInt32(entry.moduleKind);
        writer.WriteString(entry.mainFolder);
        writer.WriteString(entry.mainFile);
        writer.WriteDateTime(entry.installed);
        writer.WriteDateTime(entry.updated);
        writer.WriteU32(0);
    }
    // The temporary file takes the folder's inherited (shared) security.
    return writer.Close() && memory.GetError() == 0 && MKWriteFileDurably(path, memory.GetData(), memory.GetCount());
}

int InstalledPlugins::FindByGuid(const MKGuid& guid) const
{
    for (int i = 0; i < m_entries.GetCount(); ++i) {
        if (m_entries[i]->guid == guid)
            return i;
    }
    return -1;
}

InstalledPlugin* InstalledPlugins::UpdateFromPackage(const UpdatePackage& package)
{
    InstalledPlugin* entry = GetAt(FindByGuid(package.GetGuid()));
    if (!entry)
        return AddFromPackage(package);
    entry->SetFromPackage(package);
    return entry;
}

InstalledPlugin* InstalledPlugins::AddFromPackage(const UpdatePackage& package)
{
    InstalledPlugin* entry = Add();
    if (entry)
        entry->SetFromPackage(package);
    return entry;
}

bool InstalledPlugins::DropIncompatible(const MKVersion& productVersion, const MKVersion& kernelVersion)
{
    for (int i = 0; i < m_entries.GetCount();) {
        InstalledPlugin* entry = m_entries[i];
        bool drop = !entry->mainFile.IsEmpty() &&
            (!entry->OpenMainModule() ||
             entry->GetMainModule()->GetRequiredProductVersion().IsGreater(productVersion) ||
             entry->GetMainModule()->GetRequiredKernelVersion().IsGreater(kernelVersion));
        if (drop) {
            m_entries.RemoveAt(i);
            delete entry;
        } else {
            ++i;
        }
    }
    return !m_entries.IsEmpty() && m_entries[0]->moduleKind == kKernelModule;
}

ModulePackage* InstalledPlugins::GetMainModule() const
{
    if (m_entries.IsEmpty() || m_entries[0]->moduleKind != kKernelModule)
        return nullptr;
    return m_entries[0]->GetMainModule();
}

MKVersion ReadInstalledVersion(const MKString& installationFolder)
{
    InstalledPlugins list(installationFolder);
    return list.Load() == InstalledPluginsOk ? list.productVersion : MKVersion();
}
