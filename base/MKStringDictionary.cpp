#include "base/MKStringDictionary.h"

#include "base/MKQueryParams.h"
#include "base/MKTextBuffer.h"

#include <new>

namespace {

void DeleteValue(void* value)
{
    delete static_cast<MKString*>(value);
}

}  // namespace

MKStringDictionary::~MKStringDictionary()
{
    m_map.DisposeAllValues(DeleteValue);
}

bool MKStringDictionary::Get(const MKString& key, MKString& out) const
{
    MKHashNode* node = m_map.Find(key);
    if (!node || !node->value)
        return false;
    out = *static_cast<MKString*>(node->value);
    return true;
}

bool MKStringDictionary::Set(const MKString& key, const MKString& value)
{
    MKHashKey hashKey(key);
    if (MKHashNode* node = m_map.Find(hashKey)) {
        if (node->value) {
            *static_cast<MKString*>(node->value) = value;
            return true;
        }
        node->value = new (std::nothrow) MKString(value);
        return node->value != nullptr;
    }
    MKString* holder = new (std::nothrow) MKString(value);
    if (!holder)
        return false;
    if (m_map.Set(hashKey, holder) < 0) {
        delete holder;
        return false;
    }
    return true;
}

void MKStringDictionary::Remove(const MKString& key)
{
    DeleteValue(m_map.Remove(key));
}

MKString MKStringDictionary::ToFormString() const
{
    MKTextBuffer buffer;
    bool first = true;
    MKHashMapIterator entries(m_map);
    while (MKHashNode* node = entries.Next()) {
        const MKString* value = static_cast<const MKString*>(node->value);
        bool ok = (first || buffer.AppendChar(L'&')) && MKFormEncodeAppend(node->key, buffer) &&
                  buffer.AppendChar(L'=') && (!value || MKFormEncodeAppend(*value, buffer));
        if (!ok)
            return MKString();
        first = false;
    }
    return buffer.ToString();
}

bool MKFormEncodeAppend(const MKString& text, MKTextBuffer& buffer)
{
    MKByteArray encoded;
    if (!MKUrlEncodeAppend(text, encoded))
        return false;
    // The encoding is plain ASCII: widen it byte by byte.
    if (!buffer.Grow(buffer.GetCount() + encoded.GetCount() + 1))
        return false;
    for (int i = 0; i < encoded.GetCount(); ++i)
        buffer.AppendChar(wchar_t(encoded[i]));
    return true;
}
