#include "base/MKStringDictionary.h"

#include "base/MKTextBuffer.h"

#include <new>

namespace {

void DeleteValue(void* value)
{
    delete static_cast<MKString*>(value);
}

bool IsFormSafe(uint8_t b)
{
    return (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') || b == '-' || b == '.' ||
           b == '_' || b == '~';
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
    if (text.IsEmpty())
        return true;
    MKByteArray utf8;
    int n = text.ToUtf8(utf8);
    if (n <= 0)
        return false;
    static const wchar_t s_hex[] = L"0123456789ABCDEF";
    // Worst case three characters a byte: reserve once, then append in place.
    if (n > (INT32_MAX - buffer.GetCount() - 1) / 3 || !buffer.Grow(buffer.GetCount() + 3 * n + 1))
        return false;
    const uint8_t* bytes = utf8.GetData();
    for (int i = 0; i < n; ++i) {
        uint8_t b = bytes[i];
        bool ok;
        if (b == ' ') {
            ok = buffer.AppendChar(L'+');
        } else if (IsFormSafe(b)) {
            ok = buffer.AppendChar(wchar_t(b));
        } else {
            wchar_t escape[3] = {L'%', s_hex[b >> 4], s_hex[b & 15]};
            ok = buffer.Append(escape, 3);
        }
        if (!ok)
            return false;
    }
    return true;
}
