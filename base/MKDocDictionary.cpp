#include "base/MKDocDictionary.h"

#include "base/MKDocWriter.h"
#include "base/MKTextBuffer.h"

namespace {

void DeleteNode(void* node)
{
    delete static_cast<MKDocNode*>(node);
}

}  // namespace

MKDocDictionary::~MKDocDictionary()
{
    m_entries.DisposeAllValues(DeleteNode);
}

MKDocNode* MKDocDictionary::Find(const MKString& name) const
{
    MKHashNode* entry = m_entries.Find(name);
    return entry ? static_cast<MKDocNode*>(entry->value) : nullptr;
}

bool MKDocDictionary::Add(const MKString& name, MKDocNode* node)
{
    MKHashKey key(name);
    if (m_entries.Find(key) || m_entries.Set(key, node) < 0) {
        delete node;
        return false;
    }
    return true;
}

const MKString& MKDocDictionary::GetNameAt(int index) const
{
    return m_entries.GetNodeAt(index + 1)->key;
}

MKDocNode* MKDocDictionary::GetNodeAt(int index) const
{
    return static_cast<MKDocNode*>(m_entries.GetNodeAt(index + 1)->value);
}

bool MKDocDictionary::WriteText(MKTextBuffer& out, const MKString& indent, bool typed) const
{
    if (!out.AppendText(indent.GetText()) || !out.AppendText(L"{\n"))
        return false;
    MKString inner = indent + L"  ";
    if (inner.GetLength() != indent.GetLength() + 2)
        return false;
    int count = GetCount();
    for (int i = 0; i < count; ++i) {
        const MKDocNode* node = GetNodeAt(i);
        const wchar_t* separator = i + 1 < count ? L", " : L"";
        if (!out.AppendText(indent.GetText()) || !MKDocWriteName(out, GetNameAt(i)) || !out.AppendText(L" : "))
            return false;
        bool written = node->GetKind() == MKDocKindDictionary
                           ? out.AppendChar(L'\n') && node->WriteText(out, inner, typed) && out.AppendText(separator)
                           : node->WriteText(out, indent, typed) && out.AppendText(separator) && out.AppendChar(L'\n');
        if (!written)
            return false;
    }
    return out.AppendText(indent.GetText()) && out.AppendText(L"}\n");
}
