#pragma once
#include <stdint.h>

class MKBinaryReader;
class MKBinaryWriter;
class MKValue;
class MKValueDictionary;

// The binary form of typed value trees: a code byte and the payload of each
// node, with 7-bit variable-length integers (varints) for counts and lengths;
// containers are written as a chunk (varint byte length, then the body).

// Nesting deeper than this is refused by the writer and the reader.
enum { MKValueMaxDepth = 64 };

// Whole-tree forms of MKWriteValue.
enum MKValueForm {
    MKValueFormCompressed = 0,  // byte 1 and raw deflate when that is smaller
    MKValueFormPlain = 2        // byte 0, then the root dictionary's chunk
};

// 7 bits per byte, least significant group first, bit 7 set on all but the last
// (1 to 5 bytes).
bool MKWriteVarUInt(MKBinaryWriter& writer, uint32_t value);
// False when a byte cannot be read or a fifth byte carries more than 32 bits.
bool MKReadVarUInt(MKBinaryReader& reader, uint32_t* value);

// Writes the node, with its code byte when withCode (a bool node is always its
// one byte 0 or 1). Answers whether the target accepted everything; false for
// nodes the form cannot hold (codes 37-52, nesting past MKValueMaxDepth, a
// typed array element of another code).
bool MKWriteNode(MKBinaryWriter& writer, const MKValue* node, bool withCode);
// Writes a whole tree: MKValueFormPlain always plain; any other form deflated
// at level 9 when that saves bytes with the two lengths counted. Answers
// whether the target accepted everything.
bool MKWriteValue(MKBinaryWriter& writer, const MKValueDictionary* root, int form);

// Reads the payload of a node whose code was read already. Answers a new node
// (its one reference is the caller's), or null for malformed input: a container
// whose chunk or children cannot be read whole, a count or length larger than
// the data holds (checked before anything is allocated), nesting past
// MKValueMaxDepth. Codes 37-52 give a code-54 node. A fixed-size value outside a
// container that is cut short reads as zeros; the reader's IsOk tells.
MKValue* MKReadNode(MKBinaryReader& reader, int code);
// Reads a whole tree in either form; null on any failure.
MKValueDictionary* MKReadValue(MKBinaryReader& reader);
