#include "base/MKXmlNode.h"

#include "base/MKPointerArrays.h"

MKXmlNode::MKXmlNode(const MKString& name, bool isText) : m_name(name), m_isText(isText) {}

MKXmlNode::~MKXmlNode()
{
    // Deeply nested input must not recurse once per level: subtrees that only
    // this tree holds are taken apart here, on a work list of our own.
    MKTArray<MKXmlNode*> pending;
    if (!pending.AppendRange(m_children.GetData(), m_children.GetCount())) {
        MKReleaseAllItems(m_children);
        return;
    }
    m_children.RemoveAll();
    while (!pending.IsEmpty()) {
        MKXmlNode* node = pending[pending.GetCount() - 1];
        pending.RemoveAt(pending.GetCount() - 1);
        if (node->GetRefCount() == 1 && pending.AppendRange(node->m_children.GetData(), node->m_children.GetCount()))
            node->m_children.RemoveAll();
        node->Release();
    }
}

int MKXmlNode::FindAttribute(const wchar_t* name) const
{
    for (int i = 0; i + 1 < m_attributes.GetCount(); i += 2) {
        if (m_attributes[i].EqualsText(name))
            return i;
    }
    return -1;
}

int MKXmlNode::FindChild(const wchar_t* name) const
{
    for (int i = 0; i < m_children.GetCount(); ++i) {
        if (m_children[i]->m_name.EqualsText(name))
            return i;
    }
    return -1;
}

MKXmlNode* MKXmlNode::GetChild(const wchar_t* name) const
{
    return m_children.SafeGetAt(FindChild(name));
}

void MKXmlNode::RemoveTextChildren()
{
    int kept = 0;
    for (int i = 0; i < m_children.GetCount(); ++i) {
        MKXmlNode* child = m_children[i];
        if (child->m_isText)
            child->Release();
        else
            m_children[kept++] = child;
    }
    m_children.RemoveRange(kept, m_children.GetCount() - kept);
}

bool MKXmlNode::AddAttribute(const MKString& name, const MKString& value)
{
    return m_attributes.Add(name) && m_attributes.Add(value);
}

bool MKXmlNode::AppendChild(MKXmlNode* child)
{
    if (!m_children.Add(child))
        return false;
    child->AddRef();
    return true;
}
