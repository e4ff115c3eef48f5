#pragma once
#include "base/MKHashMap.h"
#include "base/MKString.h"

#include <unknwn.h>
#include <stdint.h>

// Content a plug-in registered: under a fresh key each, the value and kind it
// passed and the PowerPoint shape id of the object it passed (-1 for none).
class ContentRegistry {
public:
    struct Record {
        GUID id;
        int32_t value;
        int32_t kind;
        int32_t shapeId;
    };

    ContentRegistry() = default;
    ~ContentRegistry();
    ContentRegistry(const ContentRegistry&) = delete;
    ContentRegistry& operator=(const ContentRegistry&) = delete;

    // The new record's key (its GUID as 32 lower-case hexadecimal digits);
    // false when memory runs out.
    bool Register(IUnknown* object, int32_t value, int32_t kind, MKString& key);
    // Unknown keys are ignored.
    void Unregister(const MKString& key);
    void Clear();
    const Record* Find(const MKString& key) const;
    int GetCount() const { return m_records.GetCount(); }

private:
    MKHashMap m_records;
};

// Shape.Id of a PowerPoint shape; -1 when the object is none.
int32_t GetShapeId(IUnknown* object);
