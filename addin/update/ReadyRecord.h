#pragma once
#include "base/MKDateTime.h"
#include "base/MKGuid.h"
#include "base/MKString.h"
#include "base/MKTArray.h"
#include "base/MKVersion.h"
#include <stdint.h>

class MKSharedSecurity;
class ReadyRecord;
class UpdatePackage;

// One downloaded setup of the update: its identity as the update service
// gave it and, once opened, its package file in the updater folder.
class ReadySetup {
public:
    explicit ReadySetup(const ReadyRecord* owner) : m_owner(owner) {}
    ~ReadySetup();
    ReadySetup(const ReadySetup&) = delete;
    ReadySetup& operator=(const ReadySetup&) = delete;

    // The updater folder + the GUID in lower case + ".vlx".
    MKString GetPackagePath() const;
    // Opens the package file once; 0 or the package reader's code.
    int OpenPackage();
    // The opened package; null before OpenPackage succeeded.
    UpdatePackage* GetPackage() const { return m_package; }
    // A copy of the identity for another record, without the package.
    ReadySetup* CloneFor(const ReadyRecord* owner) const;

    MKString name;
    MKGuid guid;
    MKVersion version;
    // The size the update service gave for the package.
    int32_t size = 0;
    // 1 installed, 2 updated, 3 added.
    int32_t setupType = 0;

private:
    const ReadyRecord* m_owner;
    UpdatePackage* m_package = nullptr;
};

// "ready.dat": the downloaded update waiting to be installed. The installer
// setup comes first and the main setup second once read. Owns its setups. One
// thread at a time.
class ReadyRecord {
public:
    explicit ReadyRecord(const MKString& installationFolder);
    ~ReadyRecord();
    ReadyRecord(const ReadyRecord&) = delete;
    ReadyRecord& operator=(const ReadyRecord&) = delete;

    // Reads "ready.dat"; a failure clears the record.
    bool Load();
    // Kind, date-time and version zero, no setups.
    void Clear();
    // Clears the other record and copies everything but opened packages.
    bool CopyTo(ReadyRecord& other) const;

    int FindSetup(const MKGuid& guid) const;
    ReadySetup* GetSetup(const MKGuid& guid) const;
    int FindInstallerSetup() const;
    int FindSetupProgramPackage() const;
    void RemoveSetup(int index);
    // Takes the setup over; false (the setup deleted) when memory runs out.
    bool AddSetup(ReadySetup* setup);
    int GetSetupCount() const { return m_setups.GetCount(); }
    ReadySetup* GetSetupAt(int index) const { return m_setups.SafeGetAt(index); }

    // Every setup's package opens and matches its GUID and version (and, when
    // full, every item its digest). A package that does not is deleted; after
    // any failure "ready.dat" is deleted too, so the check downloads again.
    bool Verify(bool full);
    // Deletes every setup's package file and "ready.dat".
    void DeleteAll();

    const MKString& GetInstallationFolder() const { return m_installationFolder; }

    int32_t kind = 0;
    MKDateTime dateTime;
    MKVersion version;
    // 1 install, 2 update, 3 full update.
    int32_t updateType = 2;

private:
    friend bool ReadReadyFile(const MKString& installationFolder, ReadyRecord& record);
    void OrderSetups();

    MKString m_installationFolder;
    MKTArray<ReadySetup*> m_setups;
};

// Writes "ready.dat"; the updater folder must exist.
bool WriteReadyFile(const MKString& installationFolder, const MKSharedSecurity* security, const ReadyRecord& record);
// Clears the record and reads the file into it; false for a missing, foreign,
// cut or damaged file or a setup count not below the file's size.
bool ReadReadyFile(const MKString& installationFolder, ReadyRecord& record);
// A new record read from the file; null when it cannot be read.
ReadyRecord* LoadReadyFile(const MKString& installationFolder);
// Loads the record and verifies it in full.
bool LoadAndVerifyReadyFile(const MKString& installationFolder);
bool IsReadyFilePresent(const MKString& installationFolder);
void DeleteReadyFile(const MKString& installationFolder);
