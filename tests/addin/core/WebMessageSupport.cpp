#include "WebMessageSupport.h"

#include "fixtures/Fixtures.h"

#include "addin/core/MessageCodec.h"
#include "addin/core/ValueTree.h"
#include "base/MKBase64.h"
#include "base/MKBinaryWriter.h"
#include "base/MKMemOutStream.h"

#include <stdio.h>

namespace webmsg {

Bytes ReadFixture(const wchar_t* name)
{
    Bytes bytes;
    FILE* file = _wfopen(FixturePath((std::wstring(L"webmsg\\") + name).c_str()).c_str(), L"rb");
    if (!file)
        return bytes;
    uint8_t block[4096];
    size_t n;
    while ((n = fread(block, 1, sizeof block, file)) > 0)
        bytes.insert(bytes.end(), block, block + n);
    fclose(file);
    return bytes;
}

Bytes ToBytes(const MKByteArray& array)
{
    return Bytes(array.GetData(), array.GetData() + array.GetCount());
}

Bytes FromText(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

Bytes FromHex(const std::string& hex)
{
    Bytes bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

namespace {

void SetLeaf(ValueTree* array, const wchar_t* name, const wchar_t* value)
{
    ValueTree* leaf = ValueTree::NewLeaf(MKString(value));
    array->SetChild(MKString(name), leaf);
    leaf->Release();
}

void SetArray(ValueTree* array, const wchar_t* name, ValueTree* child)
{
    array->SetChild(MKString(name), child);
    child->Release();
}

}  // namespace

ValueTree* SampleTree()
{
    ValueTree* root = ValueTree::NewArray();
    SetLeaf(root, L"name", L"Caf\u00e9 <1> & \"2\" 'x'\t\u20ac");
    ValueTree* list = ValueTree::NewArray();
    SetLeaf(list, L"x", L"");
    ValueTree* deep = ValueTree::NewArray();
    SetLeaf(deep, L"y", L"z");
    SetArray(list, L"deep", deep);
    SetArray(root, L"list", list);
    SetLeaf(root, L"b", L"v");
    return root;
}

Bytes BinaryOf(const ValueTree* tree)
{
    MKMemOutStream stream;
    MKBinaryWriter writer(&stream);
    if (!tree->WriteBinary(writer))
        return Bytes();
    return Bytes(stream.GetData(), stream.GetData() + stream.GetCount());
}

bool DecodeQueryText(const std::wstring& text, Bytes* payload)
{
    std::wstring base64 = text;
    for (wchar_t& c : base64) {
        if (c == L'_')
            c = L'/';
        else if (c == L'-')
            c = L'+';
    }
    std::vector<uint8_t> message(base64.size() + 3);
    int n = MKBase64Decode(base64.c_str(), static_cast<int>(base64.size()), message.data(),
                           static_cast<int>(message.size()));
    MKByteArray out;
    if (n <= 0 || !MessageCodec::Decode(message.data(), n, MessageCodec::kQueryTextKey, out))
        return false;
    *payload = ToBytes(out);
    return true;
}

}  // namespace webmsg
