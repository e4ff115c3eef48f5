#include "addin/effects/ContentRegistry.h"

#include "base/MKGuid.h"
#include "hostapi/PowerPointInterfaces.h"

#include <new>

namespace {

void DeleteRecord(void* record)
{
    delete static_cast<ContentRegistry::Record*>(record);
}

}  // namespace

int32_t GetShapeId(IUnknown* object)
{
    PowerPoint::Shape* shape = nullptr;
    if (!object || FAILED(object->QueryInterface(PowerPoint::IID_Shape, reinterpret_cast<void**>(&shape))) || !shape)
        return -1;
    int id = -1;
    if (FAILED(shape->get_Id(&id)))
        id = -1;
    shape->Release();
    return id;
}

ContentRegistry::~ContentRegistry()
{
    Clear();
}

bool ContentRegistry::Register(IUnknown* object, int32_t value, int32_t kind, MKString& key)
{
    MKGuid id;
    id.Create();
    Record* record = new (std::nothrow) Record{id.Get(), value, kind, GetShapeId(object)};
    if (!record)
        return false;
    key = id.FormatLowerCompact();
    if (m_records.Set(key, record) < 0) {
        delete record;
        key.Clear();
        return false;
    }
    return true;
}

void ContentRegistry::Unregister(const MKString& key)
{
    delete static_cast<Record*>(m_records.Remove(key));
    // The map's storage goes with its last record.
    if (m_records.GetCount() == 0)
        m_records.Clear();
}

void ContentRegistry::Clear()
{
    m_records.DisposeAllValues(DeleteRecord);
}

const ContentRegistry::Record* ContentRegistry::Find(const MKString& key) const
{
    MKHashNode* node = m_records.Find(key);
    return node ? static_cast<const Record*>(node->value) : nullptr;
}
