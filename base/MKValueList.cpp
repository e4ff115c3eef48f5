#include "base/MKValueList.h"

#include "base/MKPointerArrays.h"

MKValueList::~MKValueList()
{
    MKReleaseAllItems(m_items);
}

bool MKValueList::Add(MKValue* node)
{
    if (!node || !m_items.Add(node))
        return false;
    node->AddRef();
    return true;
}
