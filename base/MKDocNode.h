#pragma once
#include <stdint.h>

class MKString;
class MKTextBuffer;

// Kinds of the nodes of a typed text document.
enum MKDocKind {
    MKDocKindString = 1,
    MKDocKindDouble = 2,
    MKDocKindDictionary = 3,
    MKDocKindArray = 4,
    MKDocKindBool = 5,
    MKDocKindNull = 6,
    MKDocKindInt32 = 7,
    MKDocKindInt64 = 8,
    MKDocKindGuid = 9,
    MKDocKindVersion = 10,
    MKDocKindDateTime = 11
};

// One value of a typed text document (MKDocParser reads them, WriteText writes
// them). A node is owned by the container it was added to; a tree's root
// belongs to whoever made it and is freed with delete.
class MKDocNode {
public:
    virtual ~MKDocNode() = default;
    MKDocNode(const MKDocNode&) = delete;
    MKDocNode& operator=(const MKDocNode&) = delete;

    // Appends the node's text. indent starts the lines of dictionaries and
    // arrays; typed writes the typed literals (7L, 0.5F, Guid("{...}"), ...)
    // that untyped text gives as plain numbers and strings. False when memory
    // runs out (out then holds part of the text).
    virtual bool WriteText(MKTextBuffer& out, const MKString& indent, bool typed) const = 0;

    int GetKind() const { return m_kind; }

protected:
    explicit MKDocNode(int kind) : m_kind(kind) {}

private:
    int32_t m_kind;
};
