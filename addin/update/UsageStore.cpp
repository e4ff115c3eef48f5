#include "addin/update/UsageStore.h"

#include "addin/update/FeatureCounter.h"
#include "addin/update/RecordEnvelope.h"
#include "addin/update/UsageDay.h"
#include "addin/update/UserRecordStore.h"
#include "base/MKBinaryReader.h"
#include "base/MKBinaryWriter.h"
#include "base/MKInZStream.h"
#include "base/MKMemInStream.h"
#include "base/MKMemOutStream.h"
#include "base/MKOutZStream.h"

#include <new>

namespace {

const uint32_t kMagic = 0x3097F31D;
const uint32_t kVersion = 10001;
const uint32_t kFirstDatedVersion = 10001;  // versions above 10000 store the creation date
const uint8_t kMask = 0x5C;
const int kZlibLevel = 3;
const int32_t kMaxCounterLength = 1000;
const int32_t kMaxFeatures = 10000;
const int kRecentDays = 28;

MKString IdKey(int32_t id)
{
    return MKString::FromInt(id);
}

void DeleteCounter(void* counter)
{
    delete static_cast<FeatureCounter*>(counter);
}

// Version 1 records know no creation date: the oldest first day stands in.
MKDateTime OldestFirstDay(const MKHashMap& counters)
{
    int32_t oldest = -1;
    for (int i = 1; i < counters.GetOrderCount(); ++i) {
        MKHashNode* node = counters.GetNodeAt(i);
        if (!node)
            continue;
        int32_t first = static_cast<FeatureCounter*>(node->value)->GetFirstDay();
        if (oldest < 0 || first < oldest)
            oldest = first;
    }
    return UsageDayDate(oldest < 0 ? 0 : oldest);
}

}  // namespace

UsageStore::UsageStore(const UpdateClock& clock) : m_clock(clock)
{
    Reset();
}

UsageStore::~UsageStore()
{
    Clear();
}

int32_t UsageStore::Today() const
{
    return UsageDayIndex(m_clock.LocalNow());
}

void UsageStore::Clear()
{
    m_counters.DisposeAllValues(DeleteCounter);
    m_counters.Clear();
}

void UsageStore::Reset()
{
    Clear();
    m_created = m_clock.UtcNow();
    int32_t today = Today();
    Put(new (std::nothrow) FeatureCounter(1, today));
    Put(new (std::nothrow) FeatureCounter(2, today));
    m_changed = false;
}

FeatureCounter* UsageStore::Find(int32_t id) const
{
    MKHashNode* node = m_counters.Find(IdKey(id));
    return node ? static_cast<FeatureCounter*>(node->value) : nullptr;
}

bool UsageStore::Put(FeatureCounter* counter)
{
    if (!counter)
        return false;
    MKHashNode* node = m_counters.Find(IdKey(counter->GetId()));
    if (node) {
        delete static_cast<FeatureCounter*>(node->value);
        node->value = counter;
        return true;
    }
    if (m_counters.Set(IdKey(counter->GetId()), counter) < 0) {
        delete counter;
        return false;
    }
    return true;
}

bool UsageStore::Load(UserRecordStore& store)
{
    MKByteArray record;
    m_readFailed = !store.ReadUser(record);
    if (m_readFailed) {
        Reset();
        m_changed = true;
        return false;
    }
    return ReadRecord(record);
}

bool UsageStore::Save(UserRecordStore& store, bool force)
{
    if (m_readFailed)
        return false;
    if (!m_changed && !force)
        return true;
    MKByteArray record;
    if (!WriteRecord(NewRecordSeed(), record) || !store.WriteUser(record))
        return false;
    m_changed = false;
    return true;
}

void UsageStore::AddFeature(int32_t id)
{
    if (Find(id))
        return;
    if (Put(new (std::nothrow) FeatureCounter(id, Today())))
        m_changed = true;
}

void UsageStore::CountUse(int32_t id)
{
    FeatureCounter* counter = Find(id);
    if (!counter)
        return;
    counter->ShiftTo(Today());
    if (counter->Count())
        m_changed = true;
}

int UsageStore::TotalUses(int32_t id)
{
    const FeatureCounter* counter = GetCounter(id);
    return counter ? counter->SumOfFirst(FeatureCounter::kDays) : -1;
}

int UsageStore::RecentUses(int32_t id)
{
    const FeatureCounter* counter = GetCounter(id);
    if (!counter)
        return -1;
    int64_t days = int64_t(counter->GetCurrentDay()) - counter->GetFirstDay() + 1;
    if (days <= 1)
        return -1;
    return counter->SumOfFirst(days < kRecentDays ? int(days) : kRecentDays);
}

void UsageStore::ListFeatures(MKTArray<int32_t>& ids) const
{
    ids.RemoveAll();
    for (int i = 1; i < m_counters.GetOrderCount(); ++i) {
        MKHashNode* node = m_counters.GetNodeAt(i);
        if (!node)
            continue;
        int32_t id = static_cast<FeatureCounter*>(node->value)->GetId();
        if (id != 1 && id != 2)
            ids.Add(id);
    }
}

const FeatureCounter* UsageStore::GetCounter(int32_t id)
{
    FeatureCounter* counter = Find(id);
    if (counter)
        counter->ShiftTo(Today());
    return counter;
}

bool UsageStore::WriteRecord(uint32_t seed, MKByteArray& record)
{
    int32_t today = Today();
    MKMemOutStream out;
    MKBinaryWriter writer(&out);
    uint8_t room[kRecordEnvelopeSize] = {};
    writer.Write(room, sizeof(room));
    writer.WriteU32(kMagic);
    writer.WriteU32(kVersion);
    MKOutZStream deflater(&out, kZlibLevel);
    MKBinaryWriter body(&deflater);
    body.WriteInt32(FeatureCounter::kDays);
    body.WriteInt32(today);
    body.WriteDateTime(m_created);
    body.WriteInt32(m_counters.GetCount());
    for (int i = 1; i < m_counters.GetOrderCount(); ++i) {
        MKHashNode* node = m_counters.GetNodeAt(i);
        if (!node)
            continue;
        FeatureCounter* counter = static_cast<FeatureCounter*>(node->value);
        counter->ShiftTo(today);
        body.WriteInt32(counter->GetId());
        body.WriteU16(uint16_t(counter->GetFirstDay()));
        body.Write(counter->GetCounters(), FeatureCounter::kDays);
        body.WriteInt32(int32_t(counter->GetTotal()));
    }
    bool ok = deflater.IsOk() && deflater.Close() && out.IsOk() && out.TakeBuffer(record);
    return ok && SealRecord(record, seed, kMask);
}

bool UsageStore::ReadRecord(const MKByteArray& stored)
{
    Reset();
    m_changed = true;
    MKByteArray record;
    bool ok = record.Assign(stored.GetData(), stored.GetCount()) && OpenRecord(record, kMask) &&
              Parse(record.GetData() + kRecordEnvelopeSize, record.GetCount() - kRecordEnvelopeSize);
    if (!ok) {
        Reset();
        m_changed = true;
        return false;
    }
    m_changed = false;
    return true;
}

bool UsageStore::Parse(const uint8_t* bytes, int length)
{
    MKMemInStream plain(bytes, length);
    MKBinaryReader head(&plain);
    uint32_t magic = 0;
    uint32_t version = 0;
    if (!head.ReadU32(&magic) || magic != kMagic || !head.ReadU32(&version) || version < 1 || version > kVersion)
        return false;
    // Version 10001 deflates everything after the version.
    MKInZStream inflater(&plain);
    MKBinaryReader reader(version == kVersion ? static_cast<MKInStream*>(&inflater) : &plain);

    int32_t counterLength = 0;
    int32_t savedDay = 0;
    int32_t count = 0;
    reader.ReadInt32(&counterLength);
    if (counterLength < 0 || counterLength > kMaxCounterLength || !reader.ReadInt32(&savedDay) || savedDay < 0)
        return false;
    MKDateTime created = m_created;
    if (version >= kFirstDatedVersion && !reader.ReadDateTime(&created))
        return false;
    if (!reader.ReadInt32(&count) || count < 0 || count > kMaxFeatures)
        return false;

    int32_t today = Today();
    uint8_t counters[kMaxCounterLength];
    for (int32_t i = 0; i < count; ++i) {
        int32_t id = 0;
        uint16_t firstDay = 0;
        int32_t total = 0;
        if (!reader.ReadInt32(&id) || !reader.ReadU16(&firstDay) ||
            (counterLength > 0 && reader.Read(counters, counterLength) != counterLength))
            return false;
        if (version >= kVersion)
            reader.ReadInt32(&total);
        else
            for (int k = 0; k < counterLength; ++k)
                total += counters[k];
        if (!reader.IsOk() ||
            !Put(new (std::nothrow) FeatureCounter(id, firstDay, counters, counterLength, savedDay, uint32_t(total),
                                                   today)))
            return false;
    }
    if (!reader.IsOk())
        return false;
    m_created = version == 1 ? OldestFirstDay(m_counters) : created;
    return true;
}
