#pragma once
#include "base/MKRefClass.h"
#include "base/MKString.h"
#include "base/MKVersion.h"

#include <stdint.h>

// Type codes of the typed value tree and its binary form.
enum MKValueCode {
    MKValueCodeFalse = 0,  // read only: a bool node always has code 1
    MKValueCodeBool = 1,
    MKValueCodeInt8 = 2,
    MKValueCodeInt16 = 3,
    MKValueCodeInt32 = 4,
    MKValueCodeInt64 = 5,
    MKValueCodeUInt8 = 6,
    MKValueCodeUInt16 = 7,
    MKValueCodeUInt32 = 8,
    MKValueCodeUInt64 = 9,
    MKValueCodeFloat = 10,
    MKValueCodeDouble = 11,
    MKValueCodeWord16 = 12,
    MKValueCodeDateTime = 13,  // payload: an MKDateTime
    MKValueCodeVersion = 14,   // MKValueVersion
    MKValueCodeGuid = 15,
    MKValueCodeUInt32B = 16,
    MKValueCodeNull = 17,
    // 18-36: pairs, triples and quadruples of int32, float and double, and 3x3
    // and 4x4 matrices of float and double (MKValuePayloadSize gives the sizes).
    MKValueCodeFirstBlock = 37,  // 37-52: byte blocks of fixed sizes, read as code 54
    MKValueCodeLastBlock = 52,
    MKValueCodeString = 53,      // MKValueString
    MKValueCodeBlob = 54,        // MKValueBlob
    MKValueCodeDictionary = 55,  // MKValueDictionary
    MKValueCodeList = 56,        // MKValueList
    MKValueCodeArray = 57,       // MKValueArray
    MKValueCodeFirstRaw = 58     // 58-255: MKValueBlob kept with its code
};

// Bytes of the fixed payload of a code (codes 2-52 and 0, 1, 17); -1 for codes
// whose payload carries its own length.
int MKValuePayloadSize(int code);

// Node of the typed value tree. Reference-counted without locks: a tree belongs
// to one thread at a time. A new node carries one reference, its creator's;
// containers take references of their own on the nodes they hold.
class MKValue : public MKRefClass {
public:
    int GetCode() const { return m_code; }
    // True only for nodes of codes 58-255, which keep their bytes unread.
    virtual bool HasRawPayload() const { return false; }
    // The payload of a fixed-size node (MKValuePayloadSize bytes), else null.
    virtual const uint8_t* GetPayload() const { return nullptr; }
    // The text of a code-53 node (empty for the null string), else empty.
    MKString GetString() const;

protected:
    explicit MKValue(int code) : m_code(code) {}

private:
    int m_code;
};

// Views for callers that read records: an empty result (0, 0.0.-1.-1, false)
// for a null node or a node of another code.
int32_t MKValueGetInt32(const MKValue* node);
bool MKValueGetBool(const MKValue* node);
MKVersion MKValueGetVersion(const MKValue* node);
// The bytes of a code-54 or raw node.
bool MKValueGetBlob(const MKValue* node, const uint8_t** data, int* size);
