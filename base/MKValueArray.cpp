#include "base/MKValueArray.h"

bool MKValueArray::Add(MKValue* node)
{
    // Elements are stored without codes, so one of another code could not be
    // read back.
    if (!node || node->GetCode() != m_elementCode)
        return false;
    return MKValueList::Add(node);
}
