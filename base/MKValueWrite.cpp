#include "base/MKBinaryWriter.h"
#include "base/MKCompressBuffers.h"
#include "base/MKDateTime.h"
#include "base/MKMemOutStream.h"
#include "base/MKValueArray.h"
#include "base/MKValueBlob.h"
#include "base/MKValueDictionary.h"
#include "base/MKValueIO.h"
#include "base/MKValueString.h"
#include "base/MKValueVersion.h"

#include <string.h>

namespace {

int VarUIntSize(uint32_t value)
{
    return value < 0x80 ? 1 : value < 0x4000 ? 2 : value < 0x200000 ? 3 : value < 0x10000000 ? 4 : 5;
}

bool WriteNodeAt(MKBinaryWriter& writer, const MKValue* node, bool withCode, int depth);

bool WriteBody(MKBinaryWriter& writer, const MKValue* node, int depth)
{
    switch (node->GetCode()) {
    case MKValueCodeDictionary: {
        const MKIntHashMap& map = static_cast<const MKValueDictionary*>(node)->GetMap();
        bool ok = MKWriteVarUInt(writer, uint32_t(map.GetCount()));
        for (int slot = 0; ok && slot < map.GetSlotCount(); ++slot) {
            uint32_t key;
            MKValue* child;
            if (map.GetSlot(slot, &key, &child))
                ok = MKWriteVarUInt(writer, key) && WriteNodeAt(writer, child, true, depth + 1);
        }
        return ok;
    }
    case MKValueCodeList: {
        const MKValueList* list = static_cast<const MKValueList*>(node);
        bool ok = MKWriteVarUInt(writer, uint32_t(list->GetCount()));
        for (int i = 0; ok && i < list->GetCount(); ++i)
            ok = WriteNodeAt(writer, list->GetAt(i), true, depth + 1);
        return ok;
    }
    default: {
        const MKValueArray* array = static_cast<const MKValueArray*>(node);
        int elementCode = array->GetElementCode();
        bool ok = elementCode >= 0 && elementCode <= 255 && writer.WriteU8(uint8_t(elementCode)) &&
                  MKWriteVarUInt(writer, uint32_t(array->GetCount()));
        for (int i = 0; ok && i < array->GetCount(); ++i) {
            // Elements go without codes: one of another code could not be read back.
            const MKValue* child = array->GetAt(i);
            ok = child->GetCode() == elementCode && WriteNodeAt(writer, child, false, depth + 1);
        }
        return ok;
    }
    }
}

bool WriteChunk(MKBinaryWriter& writer, const MKValue* node, int depth)
{
    if (depth >= MKValueMaxDepth)
        return false;
    MKMemOutStream body;
    MKBinaryWriter bodyWriter(&body);
    return WriteBody(bodyWriter, node, depth) && body.IsOk() &&
           MKWriteVarUInt(writer, uint32_t(body.GetCount())) && writer.Write(body.GetData(), body.GetCount());
}

bool WriteUtf8(MKBinaryWriter& writer, const MKString& text, uint32_t extra)
{
    MKByteArray bytes;
    int n = text.IsEmpty() ? 0 : text.ToUtf8(bytes);
    if (n == 0 && !text.IsEmpty())
        return false;  // no memory: a shorter text would lose data
    return MKWriteVarUInt(writer, uint32_t(n) + extra) && writer.Write(bytes.GetData(), n);
}

bool WriteNodeAt(MKBinaryWriter& writer, const MKValue* node, bool withCode, int depth)
{
    if (!node)
        return false;
    int code = node->GetCode();
    if (code == MKValueCodeFalse || code == MKValueCodeBool)
        return writer.WriteU8(node->GetPayload()[0] != 0 ? 1 : 0);
    if (code >= MKValueCodeFirstBlock && code <= MKValueCodeLastBlock)
        return false;
    if (code >= MKValueCodeFirstRaw && !node->HasRawPayload())
        return false;
    if (withCode && !writer.WriteU8(uint8_t(code)))
        return false;
    switch (code) {
    case MKValueCodeNull:
        return true;
    case MKValueCodeVersion: {
        const MKVersion& v = static_cast<const MKValueVersion*>(node)->GetVersion();
        return writer.WriteInt32(v.major) && writer.WriteInt32(v.minor) && writer.WriteInt32(v.build) &&
               writer.WriteInt32(v.revision);
    }
    case MKValueCodeDateTime: {
        uint64_t value;
        memcpy(&value, node->GetPayload(), 8);
        return writer.WriteDateTime(MKDateTime::FromValue(value));
    }
    case MKValueCodeString: {
        const MKValueString* s = static_cast<const MKValueString*>(node);
        if (s->IsNull())
            return MKWriteVarUInt(writer, 0);
        return WriteUtf8(writer, s->GetText(), 1);
    }
    case MKValueCodeDictionary:
    case MKValueCodeList:
    case MKValueCodeArray:
        return WriteChunk(writer, node, depth);
    default:
        break;
    }
    if (code == MKValueCodeBlob || code >= MKValueCodeFirstRaw) {
        const MKByteArray& bytes = static_cast<const MKValueBlob*>(node)->GetBytes();
        return MKWriteVarUInt(writer, uint32_t(bytes.GetCount())) && writer.Write(bytes.GetData(), bytes.GetCount());
    }
    // Scalars, vectors and matrices: their little-endian bytes in stored order.
    return writer.Write(node->GetPayload(), MKValuePayloadSize(code));
}

}  // namespace

bool MKWriteVarUInt(MKBinaryWriter& writer, uint32_t value)
{
    uint8_t bytes[5];
    int n = 0;
    while (value >= 0x80) {
        bytes[n++] = uint8_t(value | 0x80);
        value >>= 7;
    }
    bytes[n++] = uint8_t(value);
    return writer.Write(bytes, n);
}

bool MKWriteNode(MKBinaryWriter& writer, const MKValue* node, bool withCode)
{
    return WriteNodeAt(writer, node, withCode, 0);
}

bool MKWriteValue(MKBinaryWriter& writer, const MKValueDictionary* root, int form)
{
    if (!root)
        return false;
    if (form == MKValueFormPlain)
        return writer.WriteU8(0) && WriteNodeAt(writer, root, false, 0);

    MKMemOutStream plain;
    MKBinaryWriter plainWriter(&plain);
    if (!WriteNodeAt(plainWriter, root, false, 0) || !plain.IsOk())
        return false;
    int b = plain.GetCount();
    MKByteArray packed;
    // Deflated only when that saves bytes with both lengths counted.
    if (MKCompressToArray(plain.GetData(), b, packed, 9, true)) {
        int q = packed.GetCount();
        if (b >= q + VarUIntSize(uint32_t(b)) + VarUIntSize(uint32_t(q)))
            return writer.WriteU8(1) && MKWriteVarUInt(writer, uint32_t(q)) && MKWriteVarUInt(writer, uint32_t(b)) &&
                   writer.Write(packed.GetData(), q);
    }
    return writer.WriteU8(0) && writer.Write(plain.GetData(), b);
}
