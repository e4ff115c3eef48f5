#include "addin/update/Preferences.h"

#include "addin/update/RecordEnvelope.h"
#include "addin/update/UpdateFrequency.h"
#include "addin/update/UserRecordStore.h"
#include "base/MKBinaryReader.h"
#include "base/MKBinaryWriter.h"
#include "base/MKLock.h"
#include "base/MKMemInStream.h"
#include "base/MKMemOutStream.h"
#include "base/MKRefHolder.h"
#include "base/MKValueDictionary.h"
#include "base/MKValueIO.h"
#include "base/MKValuePlain.h"

#include <new>

namespace {

const uint32_t kMagic = 0x3C0D2B22;
const uint32_t kVersion = 1;
const uint32_t kMaxVersion = 10000;
const uint8_t kMask = 0xA7;
const int32_t kTailMarker = 1;
const int32_t kTailSkipped = 1;
const int32_t kTailValues = 2;
const uint32_t kFrequencyKey = 2;

// Hands the block of one array to another, without copying.
void MoveBytes(MKByteArray& from, MKByteArray& to)
{
    int count = from.GetCount();
    int capacity = from.GetCapacity();
    to.Adopt(from.Detach(), count, capacity);
}

}  // namespace

Preferences::Preferences(const UpdateClock& clock)
    : m_defaultFrequency(DefaultUpdateFrequency(clock)), m_frequency(m_defaultFrequency)
{
}

Preferences::~Preferences() = default;

bool Preferences::Load(UserRecordStore& store)
{
    MKLock lock(m_lock);
    MKByteArray record;
    m_readFailed = !store.ReadPreferences(record);
    if (m_readFailed || !ReadRecord(record))
        return false;
    m_changed = false;
    return true;
}

bool Preferences::Save(UserRecordStore& store, bool force)
{
    MKLock lock(m_lock);
    if (m_readFailed)
        return false;
    if (!m_changed && !force)
        return true;
    MKByteArray record;
    if (!WriteRecord(NewRecordSeed(), record) || !store.WritePreferences(record))
        return false;
    m_changed = false;
    return true;
}

void Preferences::Reset()
{
    MKLock lock(m_lock);
    m_guid.Create();
    m_blob.RemoveAll();
    m_frequency = m_defaultFrequency;
    m_changed = true;
}

const MKGuid& Preferences::GetInstallationGuid()
{
    MKLock lock(m_lock);
    return m_guid;
}

int32_t Preferences::GetUpdateFrequency()
{
    MKLock lock(m_lock);
    return m_frequency;
}

void Preferences::SetUpdateFrequency(int32_t code)
{
    MKLock lock(m_lock);
    if (!IsValidUpdateFrequency(code) || code == m_frequency)
        return;
    m_frequency = code;
    m_changed = true;
}

bool Preferences::SetBlob(const void* bytes, int length)
{
    MKLock lock(m_lock);
    MKByteArray blob;
    if (length > 0 && (!bytes || !blob.Assign(static_cast<const uint8_t*>(bytes), length)))
        return false;
    MoveBytes(blob, m_blob);
    m_changed = true;
    return true;
}

void Preferences::GetBlob(const uint8_t** bytes, int* length)
{
    MKLock lock(m_lock);
    *bytes = m_blob.GetData();
    *length = m_blob.GetCount();
}

bool Preferences::WriteRecord(uint32_t seed, MKByteArray& record)
{
    MKLock lock(m_lock);
    MKRefHolder<MKValueDictionary> values;
    values.Attach(new (std::nothrow) MKValueDictionary);
    MKRefHolder<MKValue> frequency;
    frequency.Attach(MKNewInt32Value(m_frequency));
    if (!values || !frequency || !values->Set(kFrequencyKey, frequency.Get()))
        return false;
    MKMemOutStream out;
    MKBinaryWriter writer(&out);
    uint8_t room[kRecordEnvelopeSize] = {};
    writer.Write(room, sizeof(room));
    writer.WriteU32(kMagic);
    writer.WriteU32(kVersion);
    writer.WriteGuid(m_guid);
    writer.WriteInt32(m_blob.GetCount());
    writer.Write(m_blob.GetData(), m_blob.GetCount());
    writer.WriteInt32(kTailMarker);
    writer.WriteInt32(kTailValues);
    if (!MKWriteValue(writer, values.Get(), MKValueFormCompressed) || !out.IsOk() || !out.TakeBuffer(record))
        return false;
    return SealRecord(record, seed, kMask);
}

bool Preferences::ReadRecord(const MKByteArray& stored)
{
    MKByteArray record;
    if (!record.Assign(stored.GetData(), stored.GetCount()) || !OpenRecord(record, kMask))
        return false;
    MKMemInStream in(record.GetData() + kRecordEnvelopeSize, record.GetCount() - kRecordEnvelopeSize);
    MKBinaryReader reader(&in);
    uint32_t magic = 0;
    uint32_t version = 0;
    MKGuid guid;
    int32_t length = 0;
    MKByteArray blob;
    if (!reader.ReadU32(&magic) || magic != kMagic || !reader.ReadU32(&version) || version < 1 ||
        version > kMaxVersion || !reader.ReadGuid(&guid) || !reader.ReadInt32(&length) ||
        !reader.ReadBytes(length, blob))
        return false;
    int32_t frequency = m_defaultFrequency;
    int32_t marker = 0;
    // A body may end after the blob: no tail marker is the same as marker 0.
    if (in.GetRemaining() >= 4)
        reader.ReadInt32(&marker);
    if (marker > 0) {
        int32_t kind = 0;
        reader.ReadInt32(&kind);
        if (kind == kTailSkipped) {
            if (marker < 5 || reader.Skip(marker - 4) != marker - 4)
                return false;
        } else if (kind == kTailValues) {
            MKRefHolder<MKValueDictionary> values;
            values.Attach(MKReadValue(reader));
            if (!values)
                return false;
            int32_t code = MKValueGetInt32(values->Get(kFrequencyKey));
            if (IsValidUpdateFrequency(code))
                frequency = code;
        }
    }
    if (!reader.IsOk())
        return false;
    MKLock lock(m_lock);
    m_guid = guid;
    MoveBytes(blob, m_blob);
    m_frequency = frequency;
    return true;
}
