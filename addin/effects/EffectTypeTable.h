#pragma once
#include "base/MKHashMap.h"
#include "base/MKString.h"

#include <stdint.h>

class EffectDataRecord;

// The add-in's registered effect types, by content type (whose insertion
// order, from 1, is a type's index) and by usage id. Holds one reference on
// each registered record. One thread at a time.
class EffectTypeTable {
public:
    EffectTypeTable() = default;
    ~EffectTypeTable();
    EffectTypeTable(const EffectTypeTable&) = delete;
    EffectTypeTable& operator=(const EffectTypeTable&) = delete;

    // Enters the record and stores its index in it. A content type entered
    // already keeps its first record: the answer is that record's index and
    // the new record stays unregistered (-1). -1 when memory runs out.
    int Register(EffectDataRecord* record);
    // Removes the record's entries; entries that hold another record under
    // the same keys stay. Null does nothing.
    void Unregister(EffectDataRecord* record);
    void Clear();

    // Null for an unknown, null or empty content type.
    EffectDataRecord* FindByContentType(const MKString& contentType) const;
    EffectDataRecord* FindByUsageId(uint32_t usageId) const;
    // The record of an index from 1, null when there is none (any more).
    EffectDataRecord* GetAt(int index) const;
    // One past the last index ever given.
    int GetIndexLimit() const { return m_byContentType.GetOrderCount(); }

private:
    MKHashMap m_byContentType;
    MKHashMap m_byUsageId;
};
