#include "base/MKDocArray.h"

#include "base/MKPointerArrays.h"
#include "base/MKString.h"
#include "base/MKTextBuffer.h"

MKDocArray::~MKDocArray()
{
    MKDeleteAllItems(m_items);
}

bool MKDocArray::Add(MKDocNode* node)
{
    if (m_items.Add(node))
        return true;
    delete node;
    return false;
}

bool MKDocArray::WriteText(MKTextBuffer& out, const MKString& indent, bool typed) const
{
    if (!out.AppendText(indent.GetText()))
        return false;
    if (m_items.IsEmpty())
        return out.AppendText(L"[]");
    if (!out.AppendText(L"[ "))
        return false;
    for (int i = 0; i < m_items.GetCount(); ++i) {
        bool last = i + 1 == m_items.GetCount();
        if (!m_items[i]->WriteText(out, indent, typed) || (!last && !out.AppendChar(L',')) || !out.AppendChar(L' '))
            return false;
    }
    return out.AppendChar(L']');
}
