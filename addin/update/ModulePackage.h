#pragma once
#include "addin/update/ModuleEntry.h"
#include "addin/update/ModuleType.h"
#include "addin/update/PackageIdentity.h"
#include "base/MKDateTime.h"
#include "base/MKGuid.h"
#include "base/MKString.h"
#include "base/MKTArray.h"
#include "base/MKVersion.h"

class MKBinaryReader;

enum ModulePackageResult {
    ModulePackageOk = 0,
    ModulePackageCannotOpen = 1,
    ModulePackageNotPackage = 2,
    ModulePackageBadHeader = 3,
    ModulePackageWrongVersion = 4,
    ModulePackageBadContent = 5,
};

// A module package (one plug-in module: the kernel or another plug-in): its
// identity, required versions, type records and named entries. Open reads the
// header only; ExtractEntry reads one entry's bytes whole, since plug-ins take
// them as byte images. The package owns its records; the file is opened per
// extraction and closed again. One thread at a time.
class ModulePackage {
public:
    ModulePackage() = default;
    ~ModulePackage();
    ModulePackage(const ModulePackage&) = delete;
    ModulePackage& operator=(const ModulePackage&) = delete;

    // A ModulePackageResult. On failure nothing read is kept.
    int Open(const MKString& path);

    // The entry at the main entry index; null when it is out of range.
    const ModuleEntry* GetMainEntry() const;
    const ModuleEntry* FindEntryByName(const MKString& name) const;
    const ModuleType* FindTypeByGuid(const MKGuid& guid) const;
    // The entries the id table names, in its order (borrowed pointers); false on
    // an id naming no entry.
    bool ListEntries(MKTArray<const ModuleEntry*>& out) const;
    // Fills out with the entry's plain bytes (out is sized to the entry). With
    // verify, the stored bytes must match the entry's digest before they are
    // descrambled. False on any read, digest or decoding failure.
    bool ExtractEntry(const ModuleEntry& entry, MKByteArray& out, bool verify) const;

    // The header carried a SHA-1 signature and it matched.
    bool IsSigned() const { return m_signed; }
    const MKString& GetPath() const { return m_path; }
    int GetFileSize() const { return m_fileSize; }
    int32_t GetPackageKind() const { return m_identity.packageKind; }
    const MKDateTime& GetDateTime() const { return m_identity.dateTime; }
    const MKString& GetName() const { return m_identity.name; }
    const MKGuid& GetGuid() const { return m_identity.guid; }
    const MKVersion& GetVersion() const { return m_identity.version; }
    int32_t GetModuleKind() const { return m_identity.moduleKind; }
    const MKVersion& GetRequiredProductVersion() const { return m_identity.requiredProduct; }
    const MKVersion& GetRequiredKernelVersion() const { return m_identity.requiredKernel; }
    int GetEntryCount() const { return m_entries.GetCount(); }
    const ModuleEntry* GetEntry(int index) const { return m_entries.SafeGetAt(index); }
    int GetTypeCount() const { return m_types.GetCount(); }
    const ModuleType* GetType(int index) const { return m_types.SafeGetAt(index); }

private:
    // A ModulePackageResult for the plain header block.
    int ReadHeader(MKBinaryReader& reader);
    bool ReadType(MKBinaryReader& reader);
    bool ReadEntry(MKBinaryReader& reader);
    void Free();

    MKString m_path;
    int m_fileSize = 0;
    bool m_signed = false;
    PackageIdentity m_identity;
    int32_t m_mainEntry = -1;
    MKTArray<int32_t> m_ids;
    MKTArray<ModuleType*> m_types;
    MKTArray<ModuleEntry*> m_entries;
};
