#include "addin/core/ValueTree.h"

#include "addin/core/MessageCodec.h"
#include "base/MKBase64.h"
#include "base/MKBinaryReader.h"
#include "base/MKBinaryWriter.h"
#include "base/MKQueryParams.h"
#include "base/MKTextBuffer.h"
#include "base/MKTextConvert.h"
#include "base/MKXmlEscape.h"
#include "base/MKXmlNode.h"
#include "base/MKXmlParser.h"

#include <new>

namespace {

const int32_t kFormat = 1;
const int32_t kLeafType = 1;
const int32_t kArrayType = 2;

// The attribute's value, or false when the element has none of that name.
bool GetAttribute(const MKXmlNode* element, const wchar_t* name, MKString* out)
{
    int at = element->FindAttribute(name);
    if (at < 0)
        return false;
    *out = element->GetAttributes()[at + 1];
    return true;
}

bool AppendAttribute(const wchar_t* name, const MKString& value, MKTextBuffer& out)
{
    return out.AppendText(name) && out.AppendText(L"=\"") && out.AppendText(MKXmlEscape(value).GetText()) &&
           out.AppendChar(L'"');
}

}  // namespace

ValueTree* ValueTree::NewLeaf(const MKString& value)
{
    ValueTree* leaf = new (std::nothrow) ValueTree(true);
    if (leaf)
        leaf->m_value = value;
    return leaf;
}

ValueTree* ValueTree::NewArray()
{
    return new (std::nothrow) ValueTree(false);
}

ValueTree::~ValueTree()
{
    m_children.ReleaseAllValues();
}

ValueTree* ValueTree::GetChildAt(int index) const
{
    MKHashNode* node = m_children.GetNodeAt(index + 1);
    return node ? static_cast<ValueTree*>(static_cast<MKRefClass*>(node->value)) : nullptr;
}

MKString ValueTree::GetChildName(int index) const
{
    MKHashNode* node = m_children.GetNodeAt(index + 1);
    return node ? node->key : MKString();
}

ValueTree* ValueTree::FindChild(const MKString& name) const
{
    MKHashNode* node = m_children.Find(name);
    return node ? static_cast<ValueTree*>(static_cast<MKRefClass*>(node->value)) : nullptr;
}

bool ValueTree::SetChild(const MKString& name, ValueTree* node)
{
    if (m_isLeaf || !node)
        return false;
    if (MKHashNode* existing = m_children.Find(name)) {
        node->AddRef();
        MKRefClass* old = static_cast<MKRefClass*>(existing->value);
        existing->value = static_cast<MKRefClass*>(node);
        old->Release();
        return true;
    }
    // Children are never removed, so positions and order slots stay aligned.
    if (m_children.Set(name, static_cast<MKRefClass*>(node)) < 0)
        return false;
    node->AddRef();
    return true;
}

bool ValueTree::WriteBinary(MKBinaryWriter& writer) const
{
    return writer.WriteInt32(kFormat) && WriteNode(writer);
}

bool ValueTree::WriteNode(MKBinaryWriter& writer) const
{
    if (m_isLeaf)
        return writer.WriteInt32(kLeafType) && writer.WriteString(m_value);
    if (!writer.WriteInt32(kArrayType) || !writer.WriteInt32(GetChildCount()))
        return false;
    for (int i = 0; i < GetChildCount(); ++i) {
        if (!writer.WriteString(GetChildName(i)) || !GetChildAt(i)->WriteNode(writer))
            return false;
    }
    return true;
}

ValueTree* ValueTree::ReadBinary(MKBinaryReader& reader)
{
    int32_t format = 0;
    // Another format number is a layout this reader does not know.
    if (!reader.ReadInt32(&format) || format != kFormat)
        return nullptr;
    return ReadNode(reader, 1);
}

ValueTree* ValueTree::ReadNode(MKBinaryReader& reader, int depth)
{
    int32_t type = 0;
    if (!reader.ReadInt32(&type))
        return nullptr;
    if (type == kLeafType) {
        MKString value;
        return reader.ReadString(&value) ? NewLeaf(value) : nullptr;
    }
    int32_t count = 0;
    if (type != kArrayType || depth > kMaxDepth || !reader.ReadInt32(&count) || count < 0)
        return nullptr;
    ValueTree* array = NewArray();
    // The count is not trusted for any allocation: each child is read before
    // it is stored, so a lying count ends at the end of the data.
    for (int i = 0; array && i < count; ++i) {
        MKString name;
        ValueTree* child = reader.ReadString(&name) ? ReadNode(reader, depth + 1) : nullptr;
        // A child without a name is refused as the XML form refuses it, so a
        // tree reads the same whichever form carried it.
        bool stored = child && !name.IsEmpty() && array->SetChild(name, child);
        if (child)
            child->Release();
        if (!stored) {
            array->Release();
            array = nullptr;
        }
    }
    return array;
}

bool ValueTree::WriteXml(MKTextBuffer& out) const
{
    return out.AppendText(L"<?xml version='1.0' encoding='utf-8'?>") && WriteElement(nullptr, out);
}

bool ValueTree::WriteElement(const MKString* name, MKTextBuffer& out) const
{
    if (m_isLeaf) {
        return out.AppendText(L"<s ") && AppendAttribute(L"n", name ? *name : MKString(), out) &&
               out.AppendChar(L' ') && AppendAttribute(L"v", m_value, out) && out.AppendText(L"/>");
    }
    if (!out.AppendText(L"<a"))
        return false;
    if (name && !(out.AppendChar(L' ') && AppendAttribute(L"n", *name, out)))
        return false;
    if (!out.AppendChar(L'>'))
        return false;
    for (int i = 0; i < GetChildCount(); ++i) {
        MKString childName = GetChildName(i);
        if (!GetChildAt(i)->WriteElement(&childName, out))
            return false;
    }
    return out.AppendText(L"</a>");
}

bool ValueTree::EncodeXml(uint32_t key, MKByteArray& out) const
{
    out.RemoveAll();
    MKTextBuffer xml;
    if (!WriteXml(xml))
        return false;
    MKByteArray utf8;
    int length = MKWideToUtf8Array(xml.GetText(), xml.GetLength(), utf8);
    if (utf8.IsEmpty())
        return false;
    return MessageCodec::Encode(utf8.GetData(), length, key, out);
}

ValueTree* ValueTree::ParseXml(const MKXmlNode* element, MKString* name)
{
    return ParseElement(element, name, 1);
}

ValueTree* ValueTree::ParseElement(const MKXmlNode* element, MKString* name, int depth)
{
    name->Clear();
    if (!element || element->IsText())
        return nullptr;
    if (element->GetName().EqualsText(L"s")) {
        MKString value;
        if (!GetAttribute(element, L"n", name) || !GetAttribute(element, L"v", &value))
            return nullptr;
        return NewLeaf(value);
    }
    if (!element->GetName().EqualsText(L"a") || depth > kMaxDepth)
        return nullptr;
    GetAttribute(element, L"n", name);
    ValueTree* array = NewArray();
    for (int i = 0; array && i < element->GetChildCount(); ++i) {
        const MKXmlNode* item = element->GetChildAt(i);
        if (item->IsText())
            continue;
        MKString childName;
        ValueTree* child = ParseElement(item, &childName, depth + 1);
        bool stored = child && !childName.IsEmpty() && array->SetChild(childName, child);
        if (child)
            child->Release();
        if (!stored) {
            array->Release();
            array = nullptr;
        }
    }
    return array;
}

ValueTree* ValueTree::DecodeMessage(const uint8_t* bytes, int n, uint32_t key)
{
    MKByteArray payload;
    if (!MessageCodec::Decode(bytes, n, key, payload))
        return nullptr;
    MKXmlParser parser;
    MKXmlNode* root = MKXmlParseUtf8(parser, reinterpret_cast<const char*>(payload.GetData()), payload.GetCount());
    if (!root)
        return nullptr;
    MKString name;
    ValueTree* tree = ParseXml(root, &name);
    root->Release();
    if (tree && tree->IsLeaf()) {
        tree->Release();
        return nullptr;
    }
    return tree;
}

MKString ValueTree::ToQueryText(uint32_t key) const
{
    MKQueryParams params;
    for (int i = 0; i < GetChildCount(); ++i) {
        const ValueTree* child = GetChildAt(i);
        MKString name = GetChildName(i);
        if (child->IsLeaf() && !name.IsEmpty() && !params.Set(name, child->GetValue()))
            return MKString();
    }
    MKByteArray text;
    MKByteArray message;
    if (!params.Render(text, false) || !MessageCodec::Encode(text.GetData(), text.GetCount(), key, message))
        return MKString();
    MKString encoded = MKBase64EncodeString(message.GetData(), message.GetCount());
    encoded.ReplaceChar(L'/', L'_');
    encoded.ReplaceChar(L'+', L'-');
    encoded.TrimRightChar(L'=');
    return encoded;
}
