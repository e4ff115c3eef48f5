#include "addin/update/ReadyRecord.h"
#include "addin/update/RecordFile.h"
#include "addin/update/SetupIdentities.h"
#include "addin/update/UpdatePackage.h"
#include "addin/update/UpdaterFolder.h"
#include "base/MKFile.h"
#include "base/MKPath.h"
#include "base/MKPointerArrays.h"

namespace {

const uint32_t kMagic = 0x34747B60;

} // namespace

ReadySetup::~ReadySetup()
{
    delete m_package;
}

MKString ReadySetup::GetPackagePath() const
{
    return MKPathCombine(GetUpdaterFolder(m_owner->GetInstallationFolder()),
                         MKPathChangeExtension(guid.FormatLower(), L".vlx"));
}

int ReadySetup::OpenPackage()
{
    if (m_package)
        return UpdatePackageOk;
    UpdatePackage* package = new UpdatePackage;
    int code = package->Open(GetPackagePath());
    if (code != UpdatePackageOk) {
        delete package;
        return code;
    }
    m_package = package;
    return UpdatePackageOk;
}

ReadySetup* ReadySetup::CloneFor(const ReadyRecord* owner) const
{
    ReadySetup* copy = new ReadySetup(owner);
    copy->name = name;
    copy->guid = guid;
    copy->version = version;
    copy->size = size;
    copy->setupType = setupType;
    return copy;
}

ReadyRecord::ReadyRecord(const MKString& installationFolder) : m_installationFolder(installationFolder)
{
}

ReadyRecord::~ReadyRecord()
{
    MKDeleteAllItems(m_setups);
}

void ReadyRecord::Clear()
{
    kind = 0;
    dateTime = MKDateTime();
    version = MKVersion();
    updateType = 2;
    MKDeleteAllItems(m_setups);
}

bool ReadyRecord::Load()
{
    return ReadReadyFile(m_installationFolder, *this);
}

bool ReadyRecord::CopyTo(ReadyRecord& other) const
{
    other.Clear();
    other.kind = kind;
    other.dateTime = dateTime;
    other.version = version;
    other.updateType = updateType;
    for (int i = 0; i < m_setups.GetCount(); ++i) {
        if (!other.AddSetup(m_setups[i]->CloneFor(&other)))
            return false;
    }
    return true;
}

int ReadyRecord::FindSetup(const MKGuid& guid) const
{
    for (int i = 0; i < m_setups.GetCount(); ++i) {
        if (m_setups[i]->guid == guid)
            return i;
    }
    return -1;
}

ReadySetup* ReadyRecord::GetSetup(const MKGuid& guid) const
{
    return m_setups.SafeGetAt(FindSetup(guid));
}

int ReadyRecord::FindInstallerSetup() const
{
    return FindSetup(MKGuid(kInstallerSetupGuid));
}

int ReadyRecord::FindSetupProgramPackage() const
{
    return FindSetup(MKGuid(kSetupProgramGuid));
}

void ReadyRecord::RemoveSetup(int index)
{
    ReadySetup* setup = m_setups.SafeGetAt(index);
    if (!setup)
        return;
    m_setups.RemoveAt(index);
    delete setup;
}

bool ReadyRecord::AddSetup(ReadySetup* setup)
{
    if (!m_setups.Add(setup)) {
        delete setup;
        return false;
    }
    return true;
}

void ReadyRecord::OrderSetups()
{
    const GUID* firsts[] = {&kMainSetupGuid, &kInstallerSetupGuid};
    for (const GUID* guid : firsts) {
        int index = FindSetup(MKGuid(*guid));
        if (index > 0) {
            ReadySetup* setup = m_setups[index];
            m_setups.RemoveAt(index);
            m_setups.InsertAt(0, setup);
        }
    }
}

bool ReadyRecord::Verify(bool full)
{
    bool verified = true;
    for (int i = 0; i < m_setups.GetCount(); ++i) {
        ReadySetup& setup = *m_setups[i];
        bool matches = setup.OpenPackage() == UpdatePackageOk && setup.GetPackage()->GetGuid() == setup.guid &&
            setup.GetPackage()->GetVersion() == setup.version && (!full || setup.GetPackage()->VerifyItems());
        if (!matches) {
            MKFileRemove(setup.GetPackagePath());
            verified = false;
        }
    }
    if (!verified)
        DeleteReadyFile(m_installationFolder);
    return verified;
}

void ReadyRecord::DeleteAll()
{
    for (int i = 0; i < m_setups.GetCount(); ++i)
        MKFileRemove(m_setups[i]->GetPackagePath());
    DeleteReadyFile(m_installationFolder);
}

bool WriteReadyFile(const MKString& installationFolder, const MKSharedSecurity*, const ReadyRecord& record)
{
    RecordFileWriter file;
    MKBinaryWriter& writer = file.Writer();
    writer.WriteU32(kMagic);
    writer.WriteU32(1);
    writer.WriteInt32(record.kind);
    writer.WriteDateTime(record.dateTime);
    writer.WriteVersion(record.version);
    writer.WriteInt32(record.updateType);
    file.WriteExtension();
    writer.WriteInt32(record.GetSetupCount());
    for (int i = 0; i < record.GetSetupCount(); ++i) {
        const ReadySetup& setup = *record.GetSetupAt(i);
        writer.WriteString(setup.name);
        writer.WriteGuid(setup.guid);
        writer.WriteVersion(setup.version);
        writer.WriteInt32(setup.size);
        writer.WriteInt32(setup.setupType);
        file.WriteExtension();
    }
    return file.SaveTo(GetReadyFilePath(installationFolder));
}

bool ReadReadyFile(const MKString& installationFolder, ReadyRecord& record)
{
    MKString path = GetReadyFilePath(installationFolder);
    int fileSize = MKFileSize(path);
    RecordFileReader file;
    record.Clear();
    if (!file.Open(path, kMagic, 1) || !file.IsOk())
        return false;
    record.kind = file.ReadInt32();
    file.Reader().ReadDateTime(&record.dateTime);
    file.Reader().ReadVersion(&record.version);
    record.updateType = file.ReadInt32();
    file.SkipExtension();
    int32_t count = file.ReadInt32();
    if (!file.IsOk() || count < 0 || count >= fileSize) {
        record.Clear();
        return false;
    }
    for (int i = 0; i < count && file.IsOk(); ++i) {
        ReadySetup* setup = new ReadySetup(&record);
        file.Reader().ReadString(&setup->name);
        file.Reader().ReadGuid(&setup->guid);
        file.Reader().ReadVersion(&setup->version);
        setup->size = file.ReadInt32();
        setup->setupType = file.ReadInt32();
        file.SkipExtension();
        if (!record.AddSetup(setup))
            break;
    }
    if (!file.IsOk() || record.GetSetupCount() != count) {
        record.Clear();
        return false;
    }
    record.OrderSetups();
    return true;
}

ReadyRecord* LoadReadyFile(const MKString& installationFolder)
{
    ReadyRecord* record = new ReadyRecord(installationFolder);
    if (!ReadReadyFile(installationFolder, *record)) {
        delete record;
        return nullptr;
    }
    return record;
}

bool LoadAndVerifyReadyFile(const MKString& installationFolder)
{
    ReadyRecord record(installationFolder);
    return record.Load() && record.Verify(true);
}

bool IsReadyFilePresent(const MKString& installationFolder)
{
    return MKPathAccess(GetReadyFilePath(installationFolder), 4) == MKPathAccessible;
}

void DeleteReadyFile(const MKString& installationFolder)
{
    MKFileRemove(GetReadyFilePath(installationFolder));
}
