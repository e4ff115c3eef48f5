#include "addin/effects/EffectTypeTable.h"

#include "addin/effects/EffectDataRecord.h"

namespace {

MKString UsageKey(uint32_t usageId)
{
    return MKString::FromUInt64(usageId);
}

void ReleaseRecord(void* record)
{
    static_cast<EffectDataRecord*>(record)->Release();
}

}  // namespace

EffectTypeTable::~EffectTypeTable()
{
    Clear();
}

int EffectTypeTable::Register(EffectDataRecord* record)
{
    if (!record)
        return -1;
    if (MKHashNode* known = m_byContentType.Find(record->GetContentType()))
        return known->order;
    int index = m_byContentType.Set(record->GetContentType(), record);
    if (index < 0)
        return -1;
    if (!m_byUsageId.Find(UsageKey(record->GetUsageId())) &&
        m_byUsageId.Set(UsageKey(record->GetUsageId()), record) < 0) {
        m_byContentType.Remove(record->GetContentType());
        return -1;
    }
    record->AddRef();
    record->SetIndex(index);
    return index;
}

void EffectTypeTable::Unregister(EffectDataRecord* record)
{
    if (!record)
        return;
    MKHashNode* byType = m_byContentType.Find(record->GetContentType());
    if (!byType || byType->value != record)
        return;
    m_byContentType.RemoveNode(byType);
    MKHashNode* byUsage = m_byUsageId.Find(UsageKey(record->GetUsageId()));
    if (byUsage && byUsage->value == record)
        m_byUsageId.RemoveNode(byUsage);
    record->Release();
}

void EffectTypeTable::Clear()
{
    m_byUsageId.RemoveAll();
    m_byContentType.DisposeAllValues(ReleaseRecord);
}

EffectDataRecord* EffectTypeTable::FindByContentType(const MKString& contentType) const
{
    if (contentType.IsEmpty())
        return nullptr;
    MKHashNode* node = m_byContentType.Find(contentType);
    return node ? static_cast<EffectDataRecord*>(node->value) : nullptr;
}

EffectDataRecord* EffectTypeTable::FindByUsageId(uint32_t usageId) const
{
    MKHashNode* node = m_byUsageId.Find(UsageKey(usageId));
    return node ? static_cast<EffectDataRecord*>(node->value) : nullptr;
}

EffectDataRecord* EffectTypeTable::GetAt(int index) const
{
    MKHashNode* node = m_byContentType.GetNodeAt(index);
    return node ? static_cast<EffectDataRecord*>(node->value) : nullptr;
}
