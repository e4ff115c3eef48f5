// Typed value trees in their binary form, read as settings and state are,
// then written back.
#include "FuzzTarget.h"
#include "base/MKBinaryReader.h"
#include "base/MKBinaryWriter.h"
#include "base/MKMemInStream.h"
#include "base/MKMemOutStream.h"
#include "base/MKValueArray.h"
#include "base/MKValueBlob.h"
#include "base/MKValueDictionary.h"
#include "base/MKValueIO.h"
#include "base/MKValueList.h"
#include "base/MKValuePlain.h"
#include "base/MKValueString.h"
#include "base/MKValueVersion.h"

namespace {

// Hands a new node to its container, which keeps a reference of its own.
void Put(MKValueDictionary& into, uint32_t key, MKValue* node)
{
    into.Set(key, node);
    node->Release();
}

void Put(MKValueList& into, MKValue* node)
{
    into.Add(node);
    node->Release();
}

// A tree of every kind of node: fixed-size values, strings, blobs, a
// version, nested lists, dictionaries and typed arrays.
MKValueDictionary* SampleTree(bool large)
{
    auto* root = new MKValueDictionary;
    for (int code = 2; code <= 16; ++code) {
        if (code == MKValueCodeVersion)
            continue;
        uint8_t payload[16];
        for (int i = 0; i < 16; ++i)
            payload[i] = uint8_t(code * 31 + i);
        Put(*root, uint32_t(code), MKNewPlainValue(code, payload));
    }
    Put(*root, 20, new MKValueVersion(MKVersion(1, 2, 3, 4)));
    Put(*root, 21, new MKValueString(MKString(L"text \x00E9\x20AC")));
    Put(*root, 22, new MKValueString);
    Put(*root, 23, MKNewPlainValue(MKValueCodeNull, nullptr));
    auto* blob = new MKValueBlob;
    for (int i = 0; i < (large ? 4000 : 40); ++i)
        blob->GetBytes().Add(uint8_t(i % 7));
    Put(*root, 24, blob);
    auto* list = new MKValueList;
    Put(*list, MKNewInt32Value(7));
    Put(*list, MKNewBoolValue(true));
    auto* inner = new MKValueDictionary;
    Put(*inner, 0xFFFFFFFF, new MKValueString(MKString(L"deep")));
    Put(*list, inner);
    Put(*root, 25, list);
    auto* ints = new MKValueArray(MKValueCodeInt32);
    for (int i = 0; i < 6; ++i)
        Put(*ints, MKNewInt32Value(i * 1000 - 3));
    Put(*root, 26, ints);
    return root;
}

void AddSeeds(const std::wstring&, std::vector<FuzzInput>& seeds)
{
    for (bool large : {false, true}) {
        MKValueDictionary* tree = SampleTree(large);
        for (int form : {MKValueFormPlain, MKValueFormCompressed}) {
            MKMemOutStream out;
            MKBinaryWriter writer(&out);
            if (MKWriteValue(writer, tree, form))
                seeds.push_back({std::vector<uint8_t>(out.GetData(), out.GetData() + out.GetCount()), "value"});
        }
        tree->Release();
    }
}

void Run(const FuzzInput& input)
{
    MKMemInStream in(input.bytes.data(), int(input.bytes.size()));
    MKBinaryReader reader(&in);
    MKValueDictionary* tree = MKReadValue(reader);
    if (!tree)
        return;
    MKMemOutStream out;
    MKBinaryWriter writer(&out);
    MKWriteValue(writer, tree, MKValueFormCompressed);
    tree->Release();
}

}  // namespace

const FuzzTarget& ValueTarget()
{
    static const FuzzTarget target = {"value", AddSeeds, Run, nullptr};
    return target;
}
