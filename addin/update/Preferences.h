#pragma once
#include "addin/update/UpdateClock.h"
#include "base/MKCriticalSection.h"
#include "base/MKGuid.h"
#include "base/MKTArray.h"

#include <stdint.h>

class UserRecordStore;

// What the add-in keeps for itself per user: the installation GUID that names
// this installation to the update service, an opaque blob the plug-ins store,
// and the update frequency code. Stored in the "Preferences" record (see
// RecordEnvelope.h) with this body, little-endian:
//   magic 0x3C0D2B22, version (1 written, 1-10000 read), GUID (16 bytes),
//   blob length and blob, tail marker T (1 written; T <= 0 ends the body),
//   tail kind (2 written): kind 2 a value dictionary whose key 2 holds the
//   frequency code, kind 1 T - 4 bytes skipped, other kinds nothing more.
//
// Every field is guarded by the record's own lock, which the update checker
// also takes (GetLock) while it reads the GUID and the code on its thread.
// A record whose stored value could not be read (not: was missing or damaged)
// is never written over, so nothing the store holds is lost to a passing read
// failure: Save refuses until a Load succeeds.
class Preferences {
public:
    // Empty blob, zero GUID, the default frequency code of the clock's date;
    // the clock must outlive the record.
    explicit Preferences(const UpdateClock& clock = SystemUpdateClock());
    ~Preferences();
    Preferences(const Preferences&) = delete;
    Preferences& operator=(const Preferences&) = delete;

    // Reads and checks the stored record. False when it is missing, damaged or
    // cannot be read; the record then stays as it was.
    bool Load(UserRecordStore& store);
    // Writes the record when it changed or when forced; true without writing
    // when neither. A failed write keeps the record marked as changed so the
    // next save tries again. False, without writing, after a Load that could
    // not read the stored value.
    bool Save(UserRecordStore& store, bool force);
    // New installation GUID, empty blob, default frequency code; marks the
    // record changed.
    void Reset();
    // True after the last Load met a stored value it could not read.
    bool ReadFailed() const { return m_readFailed; }
    bool IsChanged() const { return m_changed; }

    // Passes through the lock; the GUID stays at this address for the record's
    // life and changes only with Reset or Load.
    const MKGuid& GetInstallationGuid();
    int32_t GetUpdateFrequency();
    // Stores a valid code, marking the record changed only when it differs;
    // invalid codes are ignored.
    void SetUpdateFrequency(int32_t code);
    // Replaces the blob and marks the record changed; false (blob kept) when
    // memory runs out.
    bool SetBlob(const void* bytes, int length);
    // The blob's bytes stay where they are until the blob is next replaced.
    void GetBlob(const uint8_t** bytes, int* length);
    CRITICAL_SECTION* GetLock() { return m_lock.Get(); }

    // The stored form with the given seed, and back; what Save and Load use.
    // ReadRecord leaves this record untouched when it answers false.
    bool WriteRecord(uint32_t seed, MKByteArray& record);
    bool ReadRecord(const MKByteArray& record);

private:
    MKCriticalSection m_lock;
    bool m_changed = false;
    bool m_readFailed = false;
    MKGuid m_guid;
    MKByteArray m_blob;
    int32_t m_defaultFrequency;
    int32_t m_frequency;
};
