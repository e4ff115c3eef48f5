#pragma once
#include "base/MKRefClass.h"
#include "base/MKString.h"
#include "base/MKTArray.h"
#include "base/MKTOArray.h"

// One node of a parsed XML tree: an element (name, attributes, children) or a
// text node (whose name is the text). A node holds one reference on each child;
// the tree goes when its top node's last reference goes. Counts are plain: a
// tree belongs to one thread.
class MKXmlNode : public MKRefClass {
public:
    MKXmlNode(const MKString& name, bool isText);
    ~MKXmlNode() override;

    const MKString& GetName() const { return m_name; }
    bool IsText() const { return m_isText; }
    // Names and values in turn, in document order.
    const MKTOArray<MKString>& GetAttributes() const { return m_attributes; }
    int GetChildCount() const { return m_children.GetCount(); }
    // No reference is taken; null out of range.
    MKXmlNode* GetChildAt(int index) const { return m_children.SafeGetAt(index); }

    // Index of the attribute's name in GetAttributes (its value follows), or -1.
    int FindAttribute(const wchar_t* name) const;
    // Index of the first child of that name (text children match by their
    // text), or -1. Names compare exactly.
    int FindChild(const wchar_t* name) const;
    // That child without a reference taken, or null.
    MKXmlNode* GetChild(const wchar_t* name) const;
    // Releases every text child; the elements keep their order.
    void RemoveTextChildren();

    // Builders used while parsing. False when memory runs out; a node whose
    // AddAttribute failed may hold a name without its value and is to be dropped.
    bool AddAttribute(const MKString& name, const MKString& value);
    // Takes a reference of its own on the child (none on failure).
    bool AppendChild(MKXmlNode* child);

private:
    MKString m_name;
    bool m_isText;
    MKTOArray<MKString> m_attributes;
    MKTArray<MKXmlNode*> m_children;
};
