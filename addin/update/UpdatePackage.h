#pragma once
#include "addin/update/PackageIdentity.h"
#include "addin/update/PackageItem.h"
#include "base/MKGuid.h"
#include "base/MKTArray.h"
#include "base/MKVersion.h"

class FileOperationSet;
class MKBinaryReader;
class MKSharedSecurity;

enum UpdatePackageResult {
    UpdatePackageOk = 0,
    UpdatePackageCannotOpen = 1,
    UpdatePackageNotPackage = 2,
    UpdatePackageBad = 3,
    UpdatePackageWrongVersion = 4,
};

// An update package (".vlx"): the files of one setup with their target
// folders. Open reads the header; items are extracted or verified from the
// file later. Owns its items. One thread at a time.
class UpdatePackage {
public:
    UpdatePackage() = default;
    ~UpdatePackage();
    UpdatePackage(const UpdatePackage&) = delete;
    UpdatePackage& operator=(const UpdatePackage&) = delete;

    // An UpdatePackageResult. Besides the format's own checks, a package whose
    // name, target folder or item names would reach outside the installation
    // folder, or whose stored item is not exactly its size, is bad (3).
    int Open(const MKString& path);

    // The first item of the kind; null when there is none.
    const PackageItem* FindItem(int32_t kind) const;
    // The sum over the items of their size plus 4,096.
    int64_t GetInstalledSize() const;
    // Every item with data and a SHA-1 digest matches it.
    bool VerifyItems() const;
    // Plans moving the installed files of this package aside: every item file
    // that exists under base goes to its name with the suffix appended; the
    // folders are listed for removal once emptied.
    void PlanBackup(const MKString& base, const wchar_t* suffix, FileOperationSet& set) const;
    // Plans the installation without touching a file: the folders the items
    // need and, for every item with data, its staged name (target + suffix)
    // moving onto its target.
    void PlanInstall(const MKString& base, const wchar_t* suffix, FileOperationSet& set) const;
    // Creates the planned folders and extracts every item of the plan to its
    // staged name, each checked against its digest as it is written. A
    // PackageItemResult (5 also for too little free space, 7 for an item that
    // does not match its digest); on a failure the set is discarded (staged
    // files and new folders removed).
    int ExtractPlanned(const MKString& base, const wchar_t* suffix, FileOperationSet& set,
                       const MKSharedSecurity* security) const;
    // PlanInstall, then ExtractPlanned.
    int Install(const MKString& base, const wchar_t* suffix, FileOperationSet& set,
                const MKSharedSecurity* security) const;
    // The header carried a SHA-1 signature and it matched.
    bool IsSigned() const { return m_signed; }

    const MKString& GetPath() const { return m_path; }
    int GetFileSize() const { return m_fileSize; }
    int32_t GetPackageKind() const { return m_identity.packageKind; }
    const MKString& GetName() const { return m_identity.name; }
    const MKGuid& GetGuid() const { return m_identity.guid; }
    const MKVersion& GetVersion() const { return m_identity.version; }
    int32_t GetModuleKind() const { return m_identity.moduleKind; }
    const MKVersion& GetRequiredProductVersion() const { return m_identity.requiredProduct; }
    const MKVersion& GetRequiredKernelVersion() const { return m_identity.requiredKernel; }
    const MKString& GetTargetFolder() const { return m_targetFolder; }
    int GetItemCount() const { return m_items.GetCount(); }
    const PackageItem* GetItem(int index) const { return m_items.SafeGetAt(index); }

private:
    bool ReadHeader(MKBinaryReader& reader);
    bool ReadItem(MKBinaryReader& reader);
    void Free();
    MKString GetRoot(const MKString& base) const;

    MKString m_path;
    int m_fileSize = 0;
    bool m_signed = false;
    PackageIdentity m_identity;
    MKGuid m_secondGuid;
    MKString m_targetFolder;
    MKTArray<PackageItem*> m_items;
};
