#include "addin/update/ModulePackage.h"
#include "addin/update/PackageHeaderBlock.h"
#include "addin/update/PackageIdentity.h"
#include "addin/update/ScramblePackageBlock.h"
#include "base/MKBinaryReader.h"
#include "base/MKCompressBuffers.h"
#include "base/MKInFileStream.h"
#include "base/MKInLzmaStream.h"
#include "base/MKMemInStream.h"
#include "base/MKPointerArrays.h"
#include "base/MKSha1.h"

namespace {

const PackageFormat kModuleFormat = {0xE3AC4EB5, 52, false};
const int32_t kMaxTypeValues = 1000;

bool ReadCount(MKBinaryReader& reader, int fileSize, int32_t* count)
{
    return reader.ReadInt32(count) && *count >= 0 && *count < fileSize;
}

bool DigestMatches(const ModuleEntry& entry, const MKByteArray& stored)
{
    if (!entry.digest.IsSha1())
        return true;
    MKSha1Digest computed;
    ComputeSha1(&computed, stored.GetData(), stored.GetCount());
    return entry.digest.Matches(computed);
}

// Decodes size bytes of an LZMA block (properties first) into out, which grows
// a step at a time, so data that ends early never costs the whole size.
bool DecodeLzmaInSteps(const MKByteArray& stored, int size, MKByteArray& out)
{
    const int kStep = 65536;
    MKMemInStream source(stored);
    MKInLzmaStream decoder(&source);
    for (int done = 0; done < size;) {
        const int step = size - done < kStep ? size - done : kStep;
        if (!out.SetSize(done + step) || decoder.Read(out.GetData() + done, step) != step)
            return false;
        done += step;
    }
    return true;
}

} // namespace

ModulePackage::~ModulePackage()
{
    Free();
}

void ModulePackage::Free()
{
    MKDeleteAllItems(m_types);
    MKDeleteAllItems(m_entries);
    m_ids.RemoveAll();
    m_mainEntry = -1;
}

int ModulePackage::Open(const MKString& path)
{
    Free();
    m_path = path;
    MKByteArray block;
    int result = PackageHeaderBlock::Read(path, kModuleFormat, &m_fileSize, &m_signed, block);
    if (result != PackageHeaderOk)
        return result;
    MKMemInStream memory(block);
    MKBinaryReader reader(&memory);
    result = ReadHeader(reader);
    if (result != ModulePackageOk)
        Free();
    return result;
}

int ModulePackage::ReadHeader(MKBinaryReader& reader)
{
    if (!m_identity.Read(reader))
        return ModulePackageBadHeader;
    SkipPackageExtension(reader);
    reader.ReadInt32(&m_mainEntry);
    if (!reader.IsOk())
        return ModulePackageBadContent;

    int32_t count = 0;
    if (!ReadCount(reader, m_fileSize, &count))
        return ModulePackageBadContent;
    for (int i = 0; i < count; ++i) {
        int32_t index = 0;
        if (!reader.ReadInt32(&index) || !SkipPackageExtension(reader) || !m_ids.Add(index))
            return ModulePackageBadContent;
    }
    if (!ReadCount(reader, m_fileSize, &count))
        return ModulePackageBadContent;
    for (int i = 0; i < count; ++i) {
        if (!ReadType(reader))
            return ModulePackageBadContent;
    }
    if (!ReadCount(reader, m_fileSize, &count))
        return ModulePackageBadContent;
    for (int i = 0; i < count; ++i) {
        if (!ReadEntry(reader))
            return ModulePackageBadContent;
    }
    for (int i = 0; i < m_entries.GetCount(); ++i) {
        const ModuleEntry& entry = *m_entries[i];
        if (entry.size < 0 || entry.storedSize < 0 || entry.dataOffset < 0 ||
            int64_t(entry.dataOffset) + entry.storedSize > m_fileSize)
            return ModulePackageBadContent;
    }
    if (m_mainEntry < 0 || m_mainEntry >= m_entries.GetCount())
        return ModulePackageBadContent;
    for (int i = 0; i < m_ids.GetCount(); ++i) {
        if (m_ids[i] < 0 || m_ids[i] >= m_entries.GetCount())
            return ModulePackageBadContent;
    }
    return ModulePackageOk;
}

bool ModulePackage::ReadType(MKBinaryReader& reader)
{
    ModuleType* type = new ModuleType;
    if (!m_types.Add(type)) {
        delete type;
        return false;
    }
    reader.ReadString(&type->name);
    reader.ReadString(&type->secondName);
    reader.ReadGuid(&type->guid);
    reader.ReadInt32(&type->flags);
    reader.ReadVersion(&type->version);
    // A nested record of two date-times that nothing here needs.
    int32_t nested = 0;
    if (reader.ReadInt32(&nested) && nested > 0 && reader.Skip(nested) != nested)
        return false;
    int32_t values = 0;
    if (!reader.ReadInt32(&values) || values < 0 || values > kMaxTypeValues)
        return false;
    for (int i = 0; i < values; ++i) {
        int32_t value = 0;
        reader.ReadInt32(&value);
        if (!SkipPackageExtension(reader))
            return false;
    }
    return reader.IsOk();
}

bool ModulePackage::ReadEntry(MKBinaryReader& reader)
{
    ModuleEntry* entry = new ModuleEntry;
    if (!m_entries.Add(entry)) {
        delete entry;
        return false;
    }
    int32_t unused = 0;
    reader.ReadInt32(&unused);
    reader.ReadInt32(&entry->kind);
    reader.ReadString(&entry->name);
    reader.ReadInt32(&entry->size);
    reader.ReadU8(&entry->method);
    reader.ReadInt32(&entry->storedSize);
    reader.ReadU32(&entry->key);
    entry->digest.Read(reader, m_fileSize);
    reader.ReadInt32(&entry->dataOffset);
    SkipPackageExtension(reader);
    if (entry->kind == kModuleEntryAssembly) {
        ModuleAssembly& assembly = entry->assembly;
        uint8_t hasToken = 0;
        reader.ReadString(&assembly.simpleName);
        reader.ReadVersion(&assembly.version);
        reader.ReadU8(&hasToken);
        reader.ReadU64(&assembly.token);
        reader.ReadString(&assembly.symbolFile);
        assembly.hasToken = hasToken != 0;
        SkipPackageExtension(reader);
    }
    return reader.IsOk();
}

const ModuleEntry* ModulePackage::GetMainEntry() const
{
    return m_entries.SafeGetAt(m_mainEntry);
}

const ModuleEntry* ModulePackage::FindEntryByName(const MKString& name) const
{
    for (int i = 0; i < m_entries.GetCount(); ++i) {
        if (m_entries[i]->name.Equals(name))
            return m_entries[i];
    }
    return nullptr;
}

const ModuleType* ModulePackage::FindTypeByGuid(const MKGuid& guid) const
{
    for (int i = 0; i < m_types.GetCount(); ++i) {
        if (m_types[i]->guid == guid)
            return m_types[i];
    }
    return nullptr;
}

bool ModulePackage::ListEntries(MKTArray<const ModuleEntry*>& out) const
{
    out.RemoveAll();
    for (int i = 0; i < m_ids.GetCount(); ++i) {
        const ModuleEntry* entry = m_entries.SafeGetAt(m_ids[i]);
        if (!entry || !out.Add(entry)) {
            out.RemoveAll();
            return false;
        }
    }
    return true;
}

bool ModulePackage::ExtractEntry(const ModuleEntry& entry, MKByteArray& out, bool verify) const
{
    out.RemoveAll();
    if (entry.size == 0)
        return true;
    // A stored entry is copied exactly as stored, so its digest covers every
    // byte handed out.
    if (entry.storedSize <= 0 || (entry.method == 0 && entry.storedSize != entry.size) || entry.method > 2)
        return false;
    MKInFileStream file;
    MKByteArray stored;
    if (!file.Open(m_path.GetText()) || !file.Seek(entry.dataOffset) || !stored.SetSize(entry.storedSize) ||
        file.Read(stored.GetData(), entry.storedSize) != entry.storedSize)
        return false;
    file.Close();
    if (verify && !DigestMatches(entry, stored))
        return false;
    ScramblePackageBlock(stored.GetData(), stored.GetCount(), entry.key);
    if (entry.method == 0) {
        out.Adopt(stored.Detach(), entry.size, entry.size);
        return true;
    }
    // The record's size is not trusted for any allocation: the output grows
    // by what the stored bytes really decode to, and must end at that size.
    const bool decoded = entry.method == 1 ? MKInflateToArray(stored.GetData(), stored.GetCount(), out, false, entry.size)
                                           : DecodeLzmaInSteps(stored, entry.size, out);
    if (!decoded || out.GetCount() != entry.size) {
        out.RemoveAll();
        return false;
    }
    return true;
}
