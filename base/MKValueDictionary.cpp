#include "base/MKValueDictionary.h"

bool MKValueDictionary::SetOrRemove(uint32_t key, MKValue* node)
{
    if (node)
        return m_map.Set(key, node);
    m_map.Remove(key);
    return true;
}
