// Trees of named strings: their binary and XML forms against the Python
// oracle (tests/fixtures/web_message.py), the order and replacement of
// children, the refusal of bad binary and XML input, answers read from
// envelopes and the URL-safe query text.
#include "WebMessageSupport.h"

#include "fixtures/AllocationProbe.h"

#include "addin/core/MessageCodec.h"
#include "addin/core/ValueTree.h"
#include "base/MKBinaryReader.h"
#include "base/MKMemInStream.h"
#include "base/MKTextBuffer.h"
#include "base/MKTextConvert.h"
#include "base/MKXmlNode.h"
#include "base/MKXmlParser.h"

#include <gtest/gtest.h>

#include <string.h>
#include <string>

namespace {

using webmsg::BinaryOf;
using webmsg::Bytes;
using webmsg::FromText;
using webmsg::ReadFixture;
using webmsg::SampleTree;
using webmsg::ToBytes;

// Releases the tree it holds.
struct Held {
    explicit Held(ValueTree* held) : tree(held) {}
    ~Held()
    {
        if (tree)
            tree->Release();
    }
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;
    ValueTree* operator->() const { return tree; }
    ValueTree* tree;
};

ValueTree* ReadBinary(const Bytes& bytes)
{
    MKMemInStream stream(bytes.data(), static_cast<int>(bytes.size()));
    MKBinaryReader reader(&stream);
    return ValueTree::ReadBinary(reader);
}

Bytes XmlOf(const ValueTree* tree)
{
    MKTextBuffer xml;
    EXPECT_TRUE(tree->WriteXml(xml));
    MKByteArray utf8;
    int n = MKWideToUtf8Array(xml.GetText(), xml.GetLength(), utf8);
    return Bytes(utf8.GetData(), utf8.GetData() + n);
}

ValueTree* ParseXmlText(const std::string& text, std::wstring* name)
{
    MKXmlParser parser;
    MKXmlNode* root = MKXmlParseUtf8(parser, text.data(), static_cast<int>(text.size()));
    if (!root)
        return nullptr;
    MKString parsedName(L"unset");
    ValueTree* tree = ValueTree::ParseXml(root, &parsedName);
    root->Release();
    *name = parsedName.GetText();
    return tree;
}

// int32 little-endian pieces of a binary form.
void PutInt(Bytes& out, int32_t value)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i)));
}

void PutString(Bytes& out, const std::string& text)
{
    PutInt(out, static_cast<int32_t>(text.size()));
    out.insert(out.end(), text.begin(), text.end());
}

// depth arrays nested one in another, the innermost holding one leaf.
Bytes NestedBinary(int depth)
{
    Bytes out;
    PutInt(out, 1);
    for (int i = 0; i < depth; ++i) {
        PutInt(out, 2);
        PutInt(out, 1);
        PutString(out, i + 1 < depth ? "n" : "leaf");
    }
    PutInt(out, 1);
    PutString(out, "end");
    return out;
}

TEST(ValueTree, BinaryAndXmlFormsMatchTheOracle)
{
    Held sample(SampleTree());
    EXPECT_EQ(BinaryOf(sample.tree), ReadFixture(L"sample.bin"));
    EXPECT_EQ(XmlOf(sample.tree), ReadFixture(L"sample.xml"));

    Held read(ReadBinary(ReadFixture(L"sample.bin")));
    ASSERT_TRUE(read.tree);
    ASSERT_EQ(read->GetChildCount(), 3);
    EXPECT_STREQ(read->GetChildName(0).GetText(), L"name");
    EXPECT_STREQ(read->GetChildAt(0)->GetValue().GetText(), L"Caf\u00e9 <1> & \"2\" 'x'\t\u20ac");
    EXPECT_STREQ(read->GetChildName(1).GetText(), L"list");
    EXPECT_FALSE(read->GetChildAt(1)->IsLeaf());
    EXPECT_STREQ(read->FindChild(MKString(L"list"))->FindChild(MKString(L"deep"))->GetChildName(0).GetText(), L"y");
    EXPECT_STREQ(read->GetChildName(2).GetText(), L"b");
    EXPECT_EQ(read->GetChildAt(3), nullptr);
    EXPECT_STREQ(read->GetChildName(-1).GetText(), L"");
    EXPECT_EQ(XmlOf(read.tree), ReadFixture(L"sample.xml"));
}

TEST(ValueTree, ChildrenKeepTheirFirstPlaceAndReplacedOnesAreReleased)
{
    Held root(ValueTree::NewArray());
    ValueTree* first = ValueTree::NewLeaf(MKString(L"1"));
    ValueTree* second = ValueTree::NewLeaf(MKString(L"2"));
    ValueTree* third = ValueTree::NewLeaf(MKString(L"3"));
    ASSERT_TRUE(root->SetChild(MKString(L"b"), first));
    ASSERT_TRUE(root->SetChild(MKString(L"a"), second));
    EXPECT_EQ(first->GetRefCount(), 2);
    ASSERT_TRUE(root->SetChild(MKString(L"b"), third));
    EXPECT_EQ(first->GetRefCount(), 1);
    EXPECT_EQ(root->GetChildCount(), 2);
    EXPECT_STREQ(root->GetChildName(0).GetText(), L"b");
    EXPECT_EQ(root->GetChildAt(0), third);
    EXPECT_EQ(root->GetChildAt(1), second);
    // Setting a child under its own name changes nothing.
    ASSERT_TRUE(root->SetChild(MKString(L"a"), second));
    EXPECT_EQ(second->GetRefCount(), 2);
    // Leaves have no children.
    EXPECT_FALSE(first->SetChild(MKString(L"x"), second));
    EXPECT_FALSE(root->SetChild(MKString(L"x"), nullptr));
    first->Release();
    second->Release();
    third->Release();
}

TEST(ValueTree, ReadingRefusesBadBinaryForms)
{
    Bytes sample = ReadFixture(L"sample.bin");
    ASSERT_FALSE(sample.empty());
    struct Case {
        std::string what;
        Bytes bytes;
    };
    std::vector<Case> cases;
    for (size_t n = 0; n < sample.size(); ++n)
        cases.push_back({"first " + std::to_string(n) + " bytes", Bytes(sample.begin(), sample.begin() + n)});
    for (int32_t format : {0, 2, -1}) {
        Bytes other = sample;
        memcpy(other.data(), &format, 4);
        cases.push_back({"format " + std::to_string(format), other});
    }
    for (int32_t type : {0, 3, -1}) {
        Bytes other = sample;
        memcpy(other.data() + 4, &type, 4);
        cases.push_back({"type " + std::to_string(type), other});
    }
    Bytes negative;
    PutInt(negative, 1);
    PutInt(negative, 2);
    PutInt(negative, -1);
    cases.push_back({"negative count", negative});
    Bytes lying;
    PutInt(lying, 1);
    PutInt(lying, 2);
    PutInt(lying, 0x7FFFFFFF);
    PutString(lying, "a");
    PutInt(lying, 1);
    PutString(lying, "b");
    cases.push_back({"count beyond the data", lying});
    Bytes longString;
    PutInt(longString, 1);
    PutInt(longString, 1);
    PutInt(longString, 0x7FFFFFF0);
    longString.insert(longString.end(), 100, 'x');
    cases.push_back({"string length beyond the data", longString});
    cases.push_back({"65 levels", NestedBinary(65)});
    // The XML form refuses a child without a name (<a><s n='' v='v'/></a>
    // below), and so does this one.
    Bytes unnamed;
    PutInt(unnamed, 1);
    PutInt(unnamed, 2);
    PutInt(unnamed, 1);
    PutString(unnamed, "");
    PutInt(unnamed, 1);
    PutString(unnamed, "v");
    cases.push_back({"a child without a name", unnamed});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        AllocationProbe probe;
        Held tree(ReadBinary(c.bytes));
        EXPECT_EQ(tree.tree, nullptr);
        EXPECT_LT(probe.Largest(), size_t(2 << 20));
    }

    // What is still accepted: a leaf root, an empty array, 64 levels, and
    // the writer's -1 for a missing text.
    Bytes leaf;
    PutInt(leaf, 1);
    PutInt(leaf, 1);
    PutInt(leaf, -1);
    Held leafTree(ReadBinary(leaf));
    ASSERT_TRUE(leafTree.tree);
    EXPECT_TRUE(leafTree->IsLeaf());
    EXPECT_STREQ(leafTree->GetValue().GetText(), L"");
    Bytes empty;
    PutInt(empty, 1);
    PutInt(empty, 2);
    PutInt(empty, 0);
    Held emptyTree(ReadBinary(empty));
    ASSERT_TRUE(emptyTree.tree);
    EXPECT_EQ(emptyTree->GetChildCount(), 0);
    Held deep(ReadBinary(NestedBinary(64)));
    ASSERT_TRUE(deep.tree);
    EXPECT_EQ(BinaryOf(deep.tree), NestedBinary(64));
}

TEST(ValueTree, ParsesTheXmlForm)
{
    struct Case {
        const char* xml;
        const wchar_t* name;  // null: refused
        const char* written;  // the tree's XML form without the declaration
    };
    const Case cases[] = {
        {"<a><s n='k' v='v'/></a>", L"", "<a><s n=\"k\" v=\"v\"/></a>"},
        {"<a n='top'>\n  <s v='2' n='k'/>\n  <a n='in'></a>\n</a>", L"top", "<a><s n=\"k\" v=\"2\"/><a n=\"in\"></a></a>"},
        {"<s n='k' v='v'/>", L"k", "<s n=\"\" v=\"v\"/>"},
        {"<a><s n='k' v='1'/><s n='k' v='2'/></a>", L"", "<a><s n=\"k\" v=\"2\"/></a>"},
        {"<a><s n='k' v='&lt;&#10;&gt;'/></a>", L"", "<a><s n=\"k\" v=\"&lt;&#10;&gt;\"/></a>"},
        {"<a><s n='k'/></a>", nullptr, nullptr},
        {"<a><s v='v'/></a>", nullptr, nullptr},
        {"<a><s n='' v='v'/></a>", nullptr, nullptr},
        {"<a><a><s n='k' v='v'/></a></a>", nullptr, nullptr},
        {"<a><s n='k' v='v'/><x n='y'/></a>", nullptr, nullptr},
        {"<b/>", nullptr, nullptr},
        {"<A/>", nullptr, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.xml);
        std::wstring name;
        Held tree(ParseXmlText(c.xml, &name));
        if (!c.name) {
            EXPECT_EQ(tree.tree, nullptr);
            continue;
        }
        ASSERT_TRUE(tree.tree);
        EXPECT_EQ(name, c.name);
        EXPECT_EQ(XmlOf(tree.tree), FromText(std::string("<?xml version='1.0' encoding='utf-8'?>") + c.written));
    }
}

TEST(ValueTree, AnswersComeOnlyFromGoodEnvelopesOfArrays)
{
    Bytes response = ReadFixture(L"sample_response.msg");
    Held sample(ValueTree::DecodeMessage(response.data(), static_cast<int>(response.size()),
                                         MessageCodec::kResponseKey));
    ASSERT_TRUE(sample.tree);
    EXPECT_EQ(BinaryOf(sample.tree), ReadFixture(L"sample.bin"));
    Bytes deepResponse = ReadFixture(L"deep_ok.msg");
    Held deep(ValueTree::DecodeMessage(deepResponse.data(), static_cast<int>(deepResponse.size()),
                                       MessageCodec::kResponseKey));
    EXPECT_TRUE(deep.tree);

    for (const wchar_t* file : {L"leaf_root.msg", L"child_without_name.msg", L"leaf_without_value.msg",
                                L"other_element.msg", L"not_xml.msg", L"too_deep.msg", L"method3.msg",
                                L"request_key.msg"}) {
        SCOPED_TRACE(testing::Message() << file);
        Bytes message = ReadFixture(file);
        ASSERT_FALSE(message.empty());
        Held tree(ValueTree::DecodeMessage(message.data(), static_cast<int>(message.size()),
                                           MessageCodec::kResponseKey));
        EXPECT_EQ(tree.tree, nullptr);
    }
}

TEST(ValueTree, EncodedXmlIsTheXmlFormInAnEnvelope)
{
    Held sample(SampleTree());
    MKByteArray message;
    ASSERT_TRUE(sample->EncodeXml(MessageCodec::kRequestKey, message));
    MKByteArray payload;
    ASSERT_TRUE(MessageCodec::Decode(message.GetData(), message.GetCount(), MessageCodec::kRequestKey, payload));
    EXPECT_EQ(ToBytes(payload), ReadFixture(L"sample.xml"));
}

TEST(ValueTree, QueryTextHoldsTheNamedLeavesOfTheRoot)
{
    Held sample(SampleTree());
    // A nameless leaf is left out; a repeated name keeps its first place.
    ValueTree* nameless = ValueTree::NewLeaf(MKString(L"skipped"));
    sample->SetChild(MKString(), nameless);
    nameless->Release();
    ValueTree* again = ValueTree::NewLeaf(MKString(L"w y"));
    sample->SetChild(MKString(L"b"), again);
    again->Release();
    std::wstring text = sample->ToQueryText(MessageCodec::kQueryTextKey).GetText();
    EXPECT_EQ(text.find_first_of(L"+/="), std::wstring::npos);
    Bytes payload;
    ASSERT_TRUE(webmsg::DecodeQueryText(text, &payload));
    EXPECT_EQ(payload, FromText("name=Caf%C3%A9+%3C1%3E+%26+%222%22+%27x%27%09%E2%82%AC&b=w+y"));

    // No leaves: the base-64 of a bare 50-byte envelope, its padding cut.
    Held empty(ValueTree::NewArray());
    text = empty->ToQueryText(MessageCodec::kQueryTextKey).GetText();
    EXPECT_EQ(text.size(), 67u);
    ASSERT_TRUE(webmsg::DecodeQueryText(text, &payload));
    EXPECT_TRUE(payload.empty());
}

}  // namespace
