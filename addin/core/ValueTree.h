#pragma once
#include "base/MKHashMap.h"
#include "base/MKRefClass.h"
#include "base/MKString.h"
#include "base/MKTArray.h"

#include <stdint.h>

class MKBinaryReader;
class MKBinaryWriter;
class MKTextBuffer;
class MKXmlNode;

// A tree of named strings exchanged with the web service: a node is a string
// leaf or an array of named children, which keep the order in which their
// names were first set. Reference-counted with plain counts: one thread at a
// time. Trees read or parsed from outside hold at most kMaxDepth levels of
// arrays, so the writers and the destructor, which recurse once per level,
// stay within the stack.
class ValueTree final : public MKRefClass {
public:
    static constexpr int kMaxDepth = 64;

    // With one reference for the caller; null when memory runs out.
    static ValueTree* NewLeaf(const MKString& value);
    static ValueTree* NewArray();

    bool IsLeaf() const { return m_isLeaf; }
    // A leaf's string; empty for an array.
    const MKString& GetValue() const { return m_value; }
    int GetChildCount() const { return m_children.GetCount(); }
    // Children by position, in the order their names were first set; null or
    // empty out of range. No reference is taken.
    ValueTree* GetChildAt(int index) const;
    MKString GetChildName(int index) const;
    ValueTree* FindChild(const MKString& name) const;
    // Takes a reference of its own on the node; a node already under the name
    // is replaced (and released) in its place. False for a leaf, a null node
    // or when memory runs out.
    bool SetChild(const MKString& name, ValueTree* node);

    // The binary form: int32 1, then the node (int32 type 1 and the string, or
    // type 2, the child count and each name and child). False when the writer
    // failed.
    bool WriteBinary(MKBinaryWriter& writer) const;
    // A tree with one reference for the caller, or null for another format
    // number, type or negative count, too deep a tree or a stream error.
    static ValueTree* ReadBinary(MKBinaryReader& reader);

    // Appends the XML form: the declaration, then the root as an element a
    // (its own name is not written) whose children are elements a with the
    // name n and s with the name n and value v. False when memory runs out.
    bool WriteXml(MKTextBuffer& out) const;
    // The XML form's UTF-8 bytes in an envelope of that key.
    bool EncodeXml(uint32_t key, MKByteArray& out) const;
    // The node of an element s (attributes n and v both required) or a (n
    // optional), with the name in *name; null for another element, a missing
    // attribute, an array child without a name or that fails, or nesting
    // beyond kMaxDepth. Text between elements is skipped.
    static ValueTree* ParseXml(const MKXmlNode* element, MKString* name);
    // The array tree in an envelope of that key, or null when the envelope,
    // the XML or the tree is bad or the root is a leaf.
    static ValueTree* DecodeMessage(const uint8_t* bytes, int n, uint32_t key);

    // The named string leaves of this array as a query text (name=value
    // pairs, a repeated name keeping its last value), in an envelope of that
    // key, as URL-safe base-64 ("-" and "_", no padding). Empty when memory
    // runs out.
    MKString ToQueryText(uint32_t key) const;

private:
    explicit ValueTree(bool isLeaf) : m_isLeaf(isLeaf) {}
    ~ValueTree() override;

    static ValueTree* ReadNode(MKBinaryReader& reader, int depth);
    static ValueTree* ParseElement(const MKXmlNode* element, MKString* name, int depth);
    bool WriteNode(MKBinaryWriter& writer) const;
    bool WriteElement(const MKString* name, MKTextBuffer& out) const;

    bool m_isLeaf;
    MKString m_value;
    // Child name to child node, each holding one reference.
    MKHashMap m_children;
};
