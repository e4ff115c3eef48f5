#pragma once
#include "base/MKDocNode.h"
#include "base/MKHashMap.h"

// Document node mapping names to nodes, which it owns, in insertion order.
// Names compare exactly.
class MKDocDictionary : public MKDocNode {
public:
    MKDocDictionary() : MKDocNode(MKDocKindDictionary) {}
    ~MKDocDictionary() override;

    int GetCount() const { return m_entries.GetCount(); }
    // The node stored under the name, or null.
    MKDocNode* Find(const MKString& name) const;
    // Takes the node over and adds it under the name. False, deleting the
    // node, when the name is taken already or memory runs out.
    bool Add(const MKString& name, MKDocNode* node);

    // Entries in insertion order, 0 <= index < GetCount().
    const MKString& GetNameAt(int index) const;
    MKDocNode* GetNodeAt(int index) const;

    // "{", one "name : value" line per entry, "}" and a line break; nested
    // dictionaries start on a line of their own, indented by two more spaces.
    bool WriteText(MKTextBuffer& out, const MKString& indent, bool typed) const override;

private:
    // Entries are never removed, so the order slots 1..count hold them all.
    MKHashMap m_entries;
};

inline MKDocDictionary* MKDocAsDictionary(MKDocNode* node)
{
    return node && node->GetKind() == MKDocKindDictionary ? static_cast<MKDocDictionary*>(node) : nullptr;
}
