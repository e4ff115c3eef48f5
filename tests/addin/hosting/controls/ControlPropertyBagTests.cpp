// The start-up property bag as controls read it: by name (IPropertyBag) and
// by index (IPropertyBag2).
#include "addin/hosting/ControlPropertyBag.h"
#include "fixtures/CountedDispatch.h"

#include <gtest/gtest.h>

#include <string.h>
#include <string>

namespace {

class PropertyBagTest : public ::testing::Test {
protected:
    PropertyBagTest()
    {
        bag = new ControlPropertyBag();
        bag->AddRef();
        bag->SetExtent(640, 480);
        bag->SetString(MKString(L"wmode"), MKString(L"window"));
        bag->SetInt(MKString(L"Quality"), 3);
        bag->SetString(MKString(L"movie"), MKString(L"C:\\a.swf"));
    }
    ~PropertyBagTest() override { bag->Release(); }

    IPropertyBag* ByName() const { return static_cast<IPropertyBag*>(bag); }
    IPropertyBag2* ByIndex() const { return static_cast<IPropertyBag2*>(bag); }

    ControlPropertyBag* bag;
};

struct NamedRead {
    const wchar_t* name;
    VARTYPE asked;
    HRESULT result;
    VARTYPE type;
    const wchar_t* text;  // the value as text (BSTR) or decimal (I4)
};

std::wstring Text(const VARIANT& value)
{
    if (value.vt == VT_BSTR)
        return value.bstrVal ? value.bstrVal : L"";
    if (value.vt == VT_I4)
        return std::to_wstring(value.lVal);
    return L"?";
}

TEST_F(PropertyBagTest, ReadsByNameInTheAskedTypeWhateverTheCase)
{
    const NamedRead cases[] = {
        {L"_cx", VT_EMPTY, S_OK, VT_I4, L"640"},        {L"_CY", VT_EMPTY, S_OK, VT_I4, L"480"},
        {L"_cx", VT_I4, S_OK, VT_I4, L"640"},           {L"_cy", VT_BSTR, S_OK, VT_BSTR, L"480"},
        {L"WMode", VT_EMPTY, S_OK, VT_BSTR, L"window"}, {L"wmode", VT_BSTR, S_OK, VT_BSTR, L"window"},
        {L"quality", VT_EMPTY, S_OK, VT_I4, L"3"},      {L"QUALITY", VT_BSTR, S_OK, VT_BSTR, L"3"},
        {L"wmode", VT_I4, E_FAIL, VT_EMPTY, L"?"},      {L"absent", VT_EMPTY, E_FAIL, VT_EMPTY, L"?"},
    };
    for (const NamedRead& c : cases) {
        VARIANT value;
        VariantInit(&value);
        value.vt = c.asked;
        EXPECT_EQ(c.result, ByName()->Read(c.name, &value, nullptr)) << c.name;
        EXPECT_EQ(c.type, value.vt) << c.name;
        EXPECT_EQ(c.text, Text(value)) << c.name;
        VariantClear(&value);
    }
    EXPECT_EQ(E_POINTER, ByName()->Read(L"wmode", nullptr, nullptr));
    EXPECT_EQ(E_NOTIMPL, ByName()->Write(L"wmode", nullptr));
}

TEST_F(PropertyBagTest, ReadByNameOverwritesWhatTheCallerLeftAndFreesNothing)
{
    // Only the type is set on entry; the rest is stale stack. A bag that
    // cleared it would release the object below or free the pattern
    // pointer as a string.
    CountedDispatch leftOver;
    struct Case {
        const wchar_t* name;
        VARTYPE asked;
        HRESULT result;
        const wchar_t* text;
    };
    const Case cases[] = {
        {L"wmode", VT_BSTR, S_OK, L"window"}, {L"_cx", VT_BSTR, S_OK, L"640"},
        {L"absent", VT_BSTR, E_FAIL, L"?"},   {L"quality", VT_DISPATCH, E_FAIL, L"?"},
        {L"movie", VT_DISPATCH, E_FAIL, L"?"},
    };
    for (const Case& c : cases) {
        VARIANT value;
        memset(&value, 0xDD, sizeof value);
        value.vt = c.asked;
        if (c.asked == VT_DISPATCH)
            value.pdispVal = &leftOver;
        EXPECT_EQ(c.result, ByName()->Read(c.name, &value, nullptr)) << c.name;
        EXPECT_EQ(c.text, Text(value)) << c.name;
        if (SUCCEEDED(c.result))
            VariantClear(&value);
        else
            EXPECT_EQ(VT_EMPTY, value.vt) << c.name;
    }
    EXPECT_EQ(1u, leftOver.refs);
}

TEST_F(PropertyBagTest, ListsTheExtentThenTheValuesInInsertionOrder)
{
    ULONG count = 0;
    ASSERT_EQ(S_OK, ByIndex()->CountProperties(&count));
    ASSERT_EQ(5u, count);
    PROPBAG2 info[5];
    ULONG filled = 0;
    ASSERT_EQ(S_OK, ByIndex()->GetPropertyInfo(0, 5, info, &filled));
    ASSERT_EQ(5u, filled);
    const wchar_t* names[] = {L"_ExtentX", L"_ExtentY", L"wmode", L"Quality", L"movie"};
    const VARTYPE types[] = {VT_I4, VT_I4, VT_BSTR, VT_I4, VT_BSTR};
    for (int i = 0; i < 5; ++i) {
        EXPECT_STREQ(names[i], info[i].pstrName);
        EXPECT_EQ(types[i], info[i].vt);
        EXPECT_EQ(DWORD(i), info[i].dwHint);
        EXPECT_EQ(DWORD(PROPBAG2_TYPE_DATA), info[i].dwType);
    }
    VARIANT values[5];
    HRESULT results[5];
    ASSERT_EQ(S_OK, ByIndex()->Read(5, info, nullptr, values, results));
    const wchar_t* texts[] = {L"640", L"480", L"window", L"3", L"C:\\a.swf"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(S_OK, results[i]);
        EXPECT_EQ(types[i], values[i].vt);
        EXPECT_EQ(texts[i], Text(values[i]));
        VariantClear(&values[i]);
        CoTaskMemFree(info[i].pstrName);
    }
}

TEST_F(PropertyBagTest, RefusesIndicesBeyondTheSnapshotAndUnsupportedExtentTypes)
{
    PROPBAG2 info[2] = {};
    ULONG filled = 7;
    EXPECT_EQ(E_INVALIDARG, ByIndex()->GetPropertyInfo(4, 2, info, &filled));
    EXPECT_EQ(0u, filled);
    EXPECT_EQ(S_OK, ByIndex()->GetPropertyInfo(4, 0, info, &filled));

    VARIANT values[2];
    HRESULT results[2];
    info[0].dwHint = 1;
    info[1].dwHint = 9;
    EXPECT_EQ(E_INVALIDARG, ByIndex()->Read(2, info, nullptr, values, results));
    EXPECT_EQ(VT_EMPTY, values[0].vt);
    EXPECT_EQ(VT_EMPTY, values[1].vt);

    // The width as text; a type the extent has no form in fails.
    info[0] = {};
    info[0].dwHint = 0;
    info[0].vt = VT_BSTR;
    info[1] = {};
    info[1].dwHint = 1;
    info[1].vt = VT_R8;
    EXPECT_EQ(E_FAIL, ByIndex()->Read(2, info, nullptr, values, results));
    EXPECT_EQ(S_OK, results[0]);
    EXPECT_EQ(L"640", Text(values[0]));
    EXPECT_TRUE(FAILED(results[1]));
    EXPECT_EQ(VT_EMPTY, values[1].vt);
    VariantClear(&values[0]);
}

TEST_F(PropertyBagTest, SeesChangesByIndexOnlyAfterTheNextSnapshot)
{
    ULONG count = 0;
    ASSERT_EQ(S_OK, ByIndex()->CountProperties(&count));
    bag->SetString(MKString(L"WMODE"), MKString(L"transparent"));
    PROPBAG2 info = {};
    info.dwHint = 2;
    VARIANT value;
    HRESULT result;
    ASSERT_EQ(S_OK, ByIndex()->Read(1, &info, nullptr, &value, &result));
    EXPECT_EQ(L"window", Text(value));
    VariantClear(&value);
    ASSERT_EQ(S_OK, ByIndex()->CountProperties(&count));
    EXPECT_EQ(5u, count);  // replaced, not added
    ASSERT_EQ(S_OK, ByIndex()->Read(1, &info, nullptr, &value, &result));
    EXPECT_EQ(L"transparent", Text(value));
    VariantClear(&value);
}

TEST_F(PropertyBagTest, KeepsTheOwnersValues)
{
    MKString text;
    EXPECT_TRUE(bag->GetString(MKString(L"quality"), text));
    EXPECT_STREQ(L"3", text.GetText());
    EXPECT_TRUE(bag->GetString(MKString(L"movie"), text));
    EXPECT_STREQ(L"C:\\a.swf", text.GetText());
    EXPECT_TRUE(bag->Remove(MKString(L"Movie")));
    EXPECT_FALSE(bag->Remove(MKString(L"movie")));
    EXPECT_FALSE(bag->GetString(MKString(L"movie"), text));
    EXPECT_TRUE(text.IsEmpty());
    bag->SetExtent(-5, 10);
    EXPECT_EQ(0, bag->GetExtentWidth());
    EXPECT_EQ(10, bag->GetExtentHeight());

    void* out = nullptr;
    EXPECT_EQ(S_OK, bag->QueryInterface(IID_IUnknown, &out));
    EXPECT_EQ(static_cast<IPropertyBag*>(bag), out);
    static_cast<IUnknown*>(out)->Release();
    EXPECT_EQ(S_OK, bag->QueryInterface(IID_IPropertyBag2, &out));
    EXPECT_EQ(static_cast<IPropertyBag2*>(bag), out);
    static_cast<IUnknown*>(out)->Release();
    EXPECT_EQ(E_NOINTERFACE, bag->QueryInterface(IID_IPersist, &out));
    EXPECT_EQ(nullptr, out);
}

}  // namespace
