#include "base/MKBinaryReader.h"
#include "base/MKCompressBuffers.h"
#include "base/MKDateTime.h"
#include "base/MKMemInStream.h"
#include "base/MKRefHolder.h"
#include "base/MKValueArray.h"
#include "base/MKValueBlob.h"
#include "base/MKValueDictionary.h"
#include "base/MKValueIO.h"
#include "base/MKValuePlain.h"
#include "base/MKValueString.h"
#include "base/MKValueVersion.h"

#include <new>
#include <string.h>

namespace {

// Typed arrays of payload-less elements (nulls) take no bytes per element; this
// many is the most accepted.
const uint32_t MaxEmptyElements = 65536;
// Raw deflate never expands data by more than this factor.
const uint64_t MaxInflateRatio = 1032;

// A reader and, when this code made it, the memory stream under it: chunks inside
// memory are parsed where they lie instead of being copied.
struct Input {
    MKBinaryReader& reader;
    MKMemInStream* memory;
};

// Bytes the input still holds; -1 when the source cannot tell.
int64_t Left(const Input& in)
{
    if (in.memory)
        return in.memory->GetRemaining();
    if (in.reader.CanSeek() && in.reader.GetSize() > 0)
        return int64_t(in.reader.GetSize()) - in.reader.GetPosition();
    return -1;
}

// The next n bytes, in place when the input is memory, else read into holder.
// Fails, before allocating, when the input holds fewer.
bool TakeBytes(Input& in, uint32_t n, MKByteArray& holder, const uint8_t** data)
{
    int64_t left = Left(in);
    if (n > uint32_t(INT32_MAX) || (left >= 0 && int64_t(n) > left))
        return false;
    if (in.memory) {
        *data = in.memory->GetCurrent();
        in.memory->Skip(int(n));
        return true;
    }
    if (!in.reader.ReadBytes(int(n), holder))
        return false;
    *data = holder.GetData();
    return true;
}

// Smallest encoding of one typed-array element of the code (no code byte).
int ElementMinSize(int code)
{
    switch (code) {
    case MKValueCodeFalse:
    case MKValueCodeNull:
        return 0;
    case MKValueCodeBool:
        return 1;
    case MKValueCodeVersion:
        return 16;
    case MKValueCodeDictionary:
    case MKValueCodeList:
    case MKValueCodeArray:
        return 2;  // a chunk length of at least 1 and its byte
    default:
        return code <= MKValueCodeLastBlock ? MKValuePayloadSize(code) : 1;
    }
}

MKValue* ReadAt(Input& in, int code, int depth);

// Reads up to `size` payload bytes; a payload cut short reads as zeros.
void ReadFixed(Input& in, uint8_t* payload, int size)
{
    int got = 0;
    while (got < size) {
        int r = in.reader.Read(payload + got, size - got);
        if (r <= 0)
            break;
        got += r;
    }
    if (got < size)
        memset(payload, 0, size_t(size));
}

MKValue* ReadBody(Input& body, int code, int depth)
{
    uint32_t count = 0;
    MKRefHolder<MKValue> result;
    if (code == MKValueCodeDictionary) {
        // Each entry takes at least a key byte and a code byte.
        if (!MKReadVarUInt(body.reader, &count) || count > uint64_t(Left(body)) / 2)
            return nullptr;
        MKValueDictionary* dictionary = new (std::nothrow) MKValueDictionary;
        result.Attach(dictionary);
        if (!dictionary || (count > 0 && !dictionary->GetMap().Init(int(count))))
            return nullptr;
        for (uint32_t i = 0; i < count; ++i) {
            uint32_t key;
            uint8_t childCode;
            if (!MKReadVarUInt(body.reader, &key) || !body.reader.ReadU8(&childCode))
                return nullptr;
            MKRefHolder<MKValue> child;
            child.Attach(ReadAt(body, childCode, depth + 1));
            if (!child || !dictionary->Set(key, child.Get()))
                return nullptr;
        }
    } else {
        int elementCode = -1;
        uint8_t elementByte;
        if (code == MKValueCodeArray) {
            if (!body.reader.ReadU8(&elementByte))
                return nullptr;
            elementCode = elementByte;
        }
        if (!MKReadVarUInt(body.reader, &count))
            return nullptr;
        // Each node of a list takes at least its code byte.
        int minSize = code == MKValueCodeList ? 1 : ElementMinSize(elementCode);
        if (minSize > 0 ? count > uint64_t(Left(body)) / uint32_t(minSize) : count > MaxEmptyElements)
            return nullptr;
        MKValueList* list = code == MKValueCodeList ? new (std::nothrow) MKValueList
                                                    : new (std::nothrow) MKValueArray(elementCode);
        result.Attach(list);
        if (!list || !list->Reserve(int(count)))
            return nullptr;
        for (uint32_t i = 0; i < count; ++i) {
            int childCode = elementCode;
            MKRefHolder<MKValue> child;
            if (elementCode == MKValueCodeBool) {
                uint8_t b;
                if (!body.reader.ReadU8(&b))
                    return nullptr;
                child.Attach(MKNewBoolValue(b != 0));
            } else {
                if (elementCode < 0) {
                    uint8_t b;
                    if (!body.reader.ReadU8(&b))
                        return nullptr;
                    childCode = b;
                }
                child.Attach(ReadAt(body, childCode, depth + 1));
            }
            // The list's own Add: elements of the block codes read as code 54.
            if (!child || !list->MKValueList::Add(child.Get()))
                return nullptr;
        }
    }
    // A value cut short inside the chunk makes the chunk malformed.
    if (!body.reader.IsOk())
        return nullptr;
    MKValue* node = result.Get();
    node->AddRef();
    result.Reset();
    return node;
}

MKValue* ReadContainer(Input& in, int code, int depth)
{
    if (depth >= MKValueMaxDepth)
        return nullptr;
    uint32_t length = 0;
    MKByteArray holder;
    const uint8_t* data = nullptr;
    if (!MKReadVarUInt(in.reader, &length) || length == 0 || !TakeBytes(in, length, holder, &data))
        return nullptr;
    MKMemInStream memory(data, int(length));
    MKBinaryReader reader(&memory);
    Input body = {reader, &memory};
    return ReadBody(body, code, depth);
}

MKValue* ReadAt(Input& in, int code, int depth)
{
    switch (code) {
    case MKValueCodeFalse:
    case MKValueCodeBool:
        return MKNewBoolValue(code == MKValueCodeBool);
    case MKValueCodeNull:
        return MKNewPlainValue(MKValueCodeNull, nullptr);
    case MKValueCodeVersion: {
        MKVersion v;
        in.reader.ReadInt32(&v.major);
        in.reader.ReadInt32(&v.minor);
        in.reader.ReadInt32(&v.build);
        in.reader.ReadInt32(&v.revision);
        if (!(v.revision == -1 || (v.build >= 0 && v.revision >= 0)))
            v = MKVersion();
        return new (std::nothrow) MKValueVersion(v);
    }
    case MKValueCodeDateTime: {
        MKDateTime value;
        in.reader.ReadDateTime(&value);  // out of range: the zero date-time
        uint64_t raw = value.GetValue();
        return MKNewPlainValue(MKValueCodeDateTime, &raw);
    }
    case MKValueCodeString: {
        uint32_t k = 0;
        if (!MKReadVarUInt(in.reader, &k))
            return nullptr;
        if (k == 0)
            return new (std::nothrow) MKValueString;
        MKByteArray holder;
        const uint8_t* data = nullptr;
        if (!TakeBytes(in, k - 1, holder, &data))
            return nullptr;
        return new (std::nothrow) MKValueString(MKString::FromUtf8(reinterpret_cast<const char*>(data), int(k - 1)));
    }
    case MKValueCodeDictionary:
    case MKValueCodeList:
    case MKValueCodeArray:
        return ReadContainer(in, code, depth);
    default:
        break;
    }
    bool block = code >= MKValueCodeFirstBlock && code <= MKValueCodeLastBlock;
    if (block || code == MKValueCodeBlob || code >= MKValueCodeFirstRaw) {
        uint32_t n = 0;
        if (block)
            n = uint32_t(MKValuePayloadSize(code));
        else if (!MKReadVarUInt(in.reader, &n))
            return nullptr;
        MKByteArray holder;
        const uint8_t* data = nullptr;
        if (!TakeBytes(in, n, holder, &data))
            return nullptr;
        MKRefHolder<MKValueBlob> blob;
        blob.Attach(new (std::nothrow) MKValueBlob(block ? int(MKValueCodeBlob) : code));
        if (!blob || !blob->GetBytes().Assign(data, int(n)))
            return nullptr;
        MKValueBlob* node = blob.Get();
        node->AddRef();
        return node;
    }
    uint8_t payload[128];
    ReadFixed(in, payload, MKValuePayloadSize(code));
    return MKNewPlainValue(code, payload);
}

}  // namespace

bool MKReadVarUInt(MKBinaryReader& reader, uint32_t* value)
{
    *value = 0;
    uint32_t result = 0;
    for (int shift = 0; shift < 35; shift += 7) {
        uint8_t b;
        if (!reader.ReadU8(&b))
            return false;
        // The fifth byte holds bits 28-31 only.
        if (shift == 28 && b > 0x0F)
            return false;
        result |= uint32_t(b & 0x7F) << shift;
        if (!(b & 0x80)) {
            *value = result;
            return true;
        }
    }
    return false;
}

MKValue* MKReadNode(MKBinaryReader& reader, int code)
{
    Input in = {reader, nullptr};
    return ReadAt(in, code, 0);
}

MKValueDictionary* MKReadValue(MKBinaryReader& reader)
{
    uint8_t flag = 0;
    if (!reader.ReadU8(&flag))
        return nullptr;
    Input in = {reader, nullptr};
    if (!(flag & 1))
        return static_cast<MKValueDictionary*>(ReadContainer(in, MKValueCodeDictionary, 0));

    uint32_t packedSize = 0, plainSize = 0;
    if (!MKReadVarUInt(reader, &packedSize) || !MKReadVarUInt(reader, &plainSize) || packedSize == 0 ||
        plainSize == 0 || plainSize > INT32_MAX || plainSize > uint64_t(packedSize) * MaxInflateRatio + 64)
        return nullptr;
    MKByteArray holder;
    const uint8_t* packed = nullptr;
    if (!TakeBytes(in, packedSize, holder, &packed))
        return nullptr;
    MKByteArray plain;
    int produced = 0;
    if (!plain.SetSize(int(plainSize)) ||
        !MKUncompressBuffer(packed, int(packedSize), plain.GetData(), int(plainSize), &produced, true) ||
        produced != int(plainSize))
        return nullptr;
    MKMemInStream memory(plain);
    MKBinaryReader plainReader(&memory);
    Input unpacked = {plainReader, &memory};
    return static_cast<MKValueDictionary*>(ReadContainer(unpacked, MKValueCodeDictionary, 0));
}
