#include "addin/update/UpdatePackage.h"
#include "addin/update/ConfinedPath.h"
#include "addin/update/FileOperationSet.h"
#include "addin/update/PackageHeaderBlock.h"
#include "addin/update/PackageIdentity.h"
#include "base/MKBinaryReader.h"
#include "base/MKFile.h"
#include "base/MKInFileStream.h"
#include "base/MKMemInStream.h"
#include "base/MKPath.h"
#include "base/MKPointerArrays.h"
#include "base/MKSha1.h"

namespace {

const PackageFormat kUpdateFormat = {0x2A81FBD0, 56, true};
const uint8_t kLastMethod = 2;

bool ItemIsSound(const PackageItem& item, int fileSize)
{
    if (item.size < 0 || item.storedSize < 0 || item.method > kLastMethod)
        return false;
    if (!IsConfinedRelativePath(item.folder) || !IsPlainFileName(item.name))
        return false;
    if (!item.HasData())
        return true;
    // A stored item is copied exactly as stored, so its digest covers it all.
    if (item.method == 0 && item.storedSize != item.size)
        return false;
    return item.dataOffset > 0 && int64_t(item.dataOffset) + item.storedSize <= fileSize;
}

} // namespace

UpdatePackage::~UpdatePackage()
{
    Free();
}

void UpdatePackage::Free()
{
    MKDeleteAllItems(m_items);
}

int UpdatePackage::Open(const MKString& path)
{
    Free();
    m_path = path;
    MKByteArray block;
    int result = PackageHeaderBlock::Read(path, kUpdateFormat, &m_fileSize, &m_signed, block);
    if (result != PackageHeaderOk)
        return result;
    MKMemInStream memory(block);
    MKBinaryReader reader(&memory);
    if (!ReadHeader(reader)) {
        Free();
        return UpdatePackageBad;
    }
    return UpdatePackageOk;
}

bool UpdatePackage::ReadHeader(MKBinaryReader& reader)
{
    if (!m_identity.Read(reader))
        return false;
    reader.ReadGuid(&m_secondGuid);
    reader.ReadString(&m_targetFolder);
    SkipPackageExtension(reader);
    int32_t count = 0;
    if (!reader.ReadInt32(&count) || count <= 0 || count >= m_fileSize)
        return false;
    // The name becomes the file name of the setup package in "setups".
    if (!IsPlainFileName(m_identity.name) || !IsConfinedRelativePath(m_targetFolder))
        return false;
    for (int i = 0; i < count; ++i) {
        if (!ReadItem(reader))
            return false;
    }
    for (int i = 0; i < m_items.GetCount(); ++i) {
        if (!ItemIsSound(*m_items[i], m_fileSize))
            return false;
    }
    return true;
}

bool UpdatePackage::ReadItem(MKBinaryReader& reader)
{
    PackageItem* item = new PackageItem(m_path);
    if (!m_items.Add(item)) {
        delete item;
        return false;
    }
    int32_t unused = 0;
    reader.ReadInt32(&unused);
    reader.ReadInt32(&item->kind);
    reader.ReadString(&item->folder);
    reader.ReadString(&item->name);
    reader.ReadInt32(&item->size);
    reader.ReadDateTime(&item->dateTime);
    reader.ReadU8(&item->method);
    reader.ReadInt32(&item->storedSize);
    item->digest.Read(reader, m_fileSize);
    reader.ReadInt32(&item->dataOffset);
    SkipPackageExtension(reader);
    return reader.IsOk();
}

const PackageItem* UpdatePackage::FindItem(int32_t kind) const
{
    for (int i = 0; i < m_items.GetCount(); ++i) {
        if (m_items[i]->kind == kind)
            return m_items[i];
    }
    return nullptr;
}

int64_t UpdatePackage::GetInstalledSize() const
{
    int64_t total = 0;
    for (int i = 0; i < m_items.GetCount(); ++i)
        total += int64_t(m_items[i]->size) + 4096;
    return total;
}

bool UpdatePackage::VerifyItems() const
{
    MKInFileStream file;
    if (!file.Open(m_path.GetText()))
        return false;
    bool verified = true;
    for (int i = 0; i < m_items.GetCount(); ++i) {
        const PackageItem& item = *m_items[i];
        if (!item.HasData() || !item.digest.IsSha1())
            continue;
        MKSha1Digest computed;
        if (item.ComputeDigest(file, &computed) != PackageItemOk || !item.digest.Matches(computed))
            verified = false;
    }
    return verified;
}

MKString UpdatePackage::GetRoot(const MKString& base) const
{
    return m_targetFolder.IsEmpty() ? base : MKPathCombine(base, m_targetFolder);
}

void UpdatePackage::PlanBackup(const MKString& base, const wchar_t* suffix, FileOperationSet& set) const
{
    set.Reset();
    MKString root = GetRoot(base);
    for (int i = 0; i < m_items.GetCount(); ++i) {
        const PackageItem& item = *m_items[i];
        MKString file = MKPathCombine(MKPathCombine(root, item.folder), item.name);
        if (MKFileExists(file)) {
            set.AddRename(file, file + suffix);
            set.Folders().AddPath(root, item.folder);
        }
    }
    set.Folders().AddPath(base, m_targetFolder);
}

void UpdatePackage::PlanInstall(const MKString& base, const wchar_t* suffix, FileOperationSet& set) const
{
    set.Reset();
    MKString root = GetRoot(base);
    set.Folders().AddPath(base, m_targetFolder);
    for (int i = 0; i < m_items.GetCount(); ++i) {
        const PackageItem& item = *m_items[i];
        set.Folders().AddPath(root, item.folder);
        if (!item.HasData())
            continue;
        MKString target = MKPathCombine(MKPathCombine(root, item.folder), item.name);
        set.AddStaged(target + suffix, target);
    }
}

int UpdatePackage::ExtractPlanned(const MKString& base, const wchar_t* suffix, FileOperationSet& set,
                                  const MKSharedSecurity* security) const
{
    int64_t free = MKDiskFreeSpace(base);
    if (free >= 0 && free < GetInstalledSize()) {
        set.Discard();
        return PackageItemWriteFailed;
    }
    if (!set.Folders().CreateAll(security)) {
        set.Discard();
        return PackageItemCannotCreateFolder;
    }
    MKString root = GetRoot(base);
    for (int i = 0; i < m_items.GetCount(); ++i) {
        const PackageItem& item = *m_items[i];
        if (!item.HasData())
            continue;
        MKString target = MKPathCombine(MKPathCombine(root, item.folder), item.name);
        // Checked as written: the package file lies in a folder every user
        // may write, so it may have changed since it was verified.
        int code = item.ExtractToFile(target + suffix, security, ItemDigestCheck::WhenStated);
        if (code != PackageItemOk) {
            set.Discard();
            return code;
        }
    }
    return PackageItemOk;
}

int UpdatePackage::Install(const MKString& base, const wchar_t* suffix, FileOperationSet& set,
                           const MKSharedSecurity* security) const
{
    PlanInstall(base, suffix, set);
    return ExtractPlanned(base, suffix, set, security);
}
