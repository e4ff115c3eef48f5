#pragma once
#include "base/MKDocNode.h"
#include "base/MKTArray.h"

// Document node holding an ordered list of nodes, which it owns.
class MKDocArray : public MKDocNode {
public:
    MKDocArray() : MKDocNode(MKDocKindArray) {}
    ~MKDocArray() override;

    int GetCount() const { return m_items.GetCount(); }
    // Null out of range; the array keeps the node.
    MKDocNode* GetAt(int index) const { return m_items.SafeGetAt(index); }
    // Takes the node over; when memory runs out the node is deleted and the
    // answer is false.
    bool Add(MKDocNode* node);

    // "[]", or "[ " and the items separated by ", " and " ]", after the indent.
    bool WriteText(MKTextBuffer& out, const MKString& indent, bool typed) const override;

private:
    MKTArray<MKDocNode*> m_items;
};

inline MKDocArray* MKDocAsArray(MKDocNode* node)
{
    return node && node->GetKind() == MKDocKindArray ? static_cast<MKDocArray*>(node) : nullptr;
}
