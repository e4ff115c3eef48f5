#pragma once
#include "base/MKDateTime.h"
#include "base/MKGuid.h"
#include "base/MKString.h"
#include "base/MKTArray.h"
#include "base/MKVersion.h"
#include <stdint.h>

class MKSharedSecurity;
class ReadyRecord;

// One setup an update brought.
struct SetupEntry {
    MKString name;
    MKGuid guid;
    MKVersion version;
    // 1 installed, 2 updated, 3 added.
    int32_t setupType = 0;
};

// One installation: when the update was made, its version and kind, how it
// was installed and its setups. Owns its setups.
class UpdateEntry {
public:
    UpdateEntry() = default;
    ~UpdateEntry();
    UpdateEntry(const UpdateEntry&) = delete;
    UpdateEntry& operator=(const UpdateEntry&) = delete;

    SetupEntry* FindSetup(const MKGuid& guid) const;
    // A new setup at the end; null when memory runs out.
    SetupEntry* AddSetup();
    int GetSetupCount() const { return m_setups.GetCount(); }
    const SetupEntry* GetSetupAt(int index) const { return m_setups.SafeGetAt(index); }

    MKDateTime dateTime;
    MKVersion version;
    // 1 install, 2 update, 3 full update.
    int32_t updateType = 2;
    // 1 "ComAddIn", 2 "Standalone", 3 "Reboot", 4 "Installer".
    int32_t method = 1;
    // The automatic flag of the installing add-in.
    bool flag = false;
    int32_t reserved = 0;

private:
    MKTArray<SetupEntry*> m_setups;
};

// "history.dat" of the updater folder: every installation, oldest first.
// Owns its entries. One thread at a time.
class UpdateHistory {
public:
    explicit UpdateHistory(const MKString& installationFolder);
    ~UpdateHistory();
    UpdateHistory(const UpdateHistory&) = delete;
    UpdateHistory& operator=(const UpdateHistory&) = delete;

    // Replaces the entries by the file's; false for a missing, foreign, cut or
    // damaged file (the entries read before the damage stay).
    bool Load();
    bool Save(const MKSharedSecurity* security);
    bool SaveTo(const MKString& path, const MKSharedSecurity* security);
    // A new entry for the ready record's update, or, when the last entry is of
    // the same version (a later part of one installation), its setups merged
    // and its method and flag replaced.
    bool AddUpdate(const ReadyRecord& ready, int32_t method, bool flag);
    // The history as "<history>" XML, one line per element.
    MKString WriteXml() const;

    int GetCount() const { return m_updates.GetCount(); }
    const UpdateEntry* GetAt(int index) const { return m_updates.SafeGetAt(index); }

private:
    bool ReadUpdate(class RecordFileReader& file);

    MKString m_installationFolder;
    MKTArray<UpdateEntry*> m_updates;
};

// The text unchanged when it holds none of " & ' < >; otherwise each of them
// as "&#N;".
MKString EscapeXmlText(const MKString& text);
