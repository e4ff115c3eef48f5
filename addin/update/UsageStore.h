#pragma once
#include "addin/update/UpdateClock.h"
#include "base/MKDateTime.h"
#include "base/MKHashMap.h"
#include "base/MKTArray.h"

#include <stdint.h>

class FeatureCounter;
class UserRecordStore;

// How often each feature was used per day over the last 364 days, kept in
// the "User" record (see RecordEnvelope.h) with this body, little-endian:
//   magic 0x3097F31D, version (10001 written, 1-10001 read); for version
//   10001 the rest is one zlib stream: counter length n (364 written, 0-1000
//   read), saved day, creation date (versions above 10000), feature count
//   (0-10000), and per feature: id, first day (u16), n counters (counter 0 =
//   the saved day), total (version 10001).
// Features 1 and 2 always exist (the add-in's and the kernel's own starts);
// each effect type adds its type code. Days are local usage days (UsageDay.h)
// by the clock given. As with Preferences, a record whose stored value could
// not be read is never written over. Used on the user-interface thread only.
class UsageStore {
public:
    // Empty, then Reset; the clock must outlive the store.
    // Counts the add-in's ordinary starts.
    static constexpr int32_t kStartsFeature = 2;

    explicit UsageStore(const UpdateClock& clock = SystemUpdateClock());
    ~UsageStore();
    UsageStore(const UsageStore&) = delete;
    UsageStore& operator=(const UsageStore&) = delete;

    // Removes every counter; creation date now (UTC); features 1 and 2 made
    // today; not changed.
    void Reset();
    // Reads and checks the stored record. On failure the store is Reset and
    // marked changed.
    bool Load(UserRecordStore& store);
    // Writes the record when it changed or when forced; true without writing
    // when neither. A failed write keeps the store marked as changed. False,
    // without writing, after a Load that could not read the stored value.
    bool Save(UserRecordStore& store, bool force);
    bool ReadFailed() const { return m_readFailed; }
    bool IsChanged() const { return m_changed; }

    // Adds the feature's counter (made today) when it is missing.
    void AddFeature(int32_t id);
    // One use today; saturates at 255 a day. Unknown ids are ignored.
    void CountUse(int32_t id);
    // Uses over the whole window; -1 for an unknown id.
    int TotalUses(int32_t id);
    // Uses over the last min(days since the first day + 1, 28) days; -1 for
    // an unknown id or a feature made today.
    int RecentUses(int32_t id);
    // The ids other than 1 and 2, in the order they were added.
    void ListFeatures(MKTArray<int32_t>& ids) const;
    // The counter of an id, shifted to today; null when unknown.
    const FeatureCounter* GetCounter(int32_t id);
    const MKDateTime& GetCreationDate() const { return m_created; }

    // The stored form with the given seed, and back (what Save and Load use).
    // ReadRecord leaves the store Reset and changed when it answers false.
    bool WriteRecord(uint32_t seed, MKByteArray& record);
    bool ReadRecord(const MKByteArray& record);

private:
    int32_t Today() const;
    FeatureCounter* Find(int32_t id) const;
    // Stores the counter under its id, replacing (and deleting) an older one;
    // false (counter deleted) when memory runs out.
    bool Put(FeatureCounter* counter);
    void Clear();
    bool Parse(const uint8_t* body, int length);

    const UpdateClock& m_clock;
    bool m_changed = false;
    bool m_readFailed = false;
    MKDateTime m_created;
    MKHashMap m_counters;  // decimal text of the id -> FeatureCounter
};
