// The kernel's callback object as a table of DISPIDs: argument counts and
// exact types, results, the members that wait for their services, and
// E_NOTIMPL once the kernel unloaded.
#include "fixtures/CountedDispatch.h"
#include "fixtures/VariantArgs.h"

#include "addin/core/KernelCallbackServices.h"
#include "addin/core/PluginCallbackObject.h"
#include "addin/core/WebMessageObject.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class FakeServices final : public KernelCallbackServices {
public:
    MKVersion GetKernelVersion() override { return MKVersion(2, 1, 0, 5); }
    MKString WriteSystemReport() override { return MKString(L"Operating System: Test\n"); }
    bool GetAutoCheckUpdates() override { return true; }
    IDispatch* MakeUpdateCheckObject() override
    {
        ++checkObjects;
        checkObject.AddRef();
        return &checkObject;
    }
    bool IsAutoInstallEnabled() override { return autoInstall; }
    void SetUpdateSettings(bool check, bool install) override
    {
        settings.push_back({check, install});
    }
    bool GetUpdateHistoryXml(MKString& xml) override
    {
        xml = history;
        return hasHistory;
    }
    bool ReplacePreferences(const uint8_t* bytes, int length) override
    {
        preferences.assign(reinterpret_cast<const char*>(bytes), static_cast<size_t>(length));
        return true;
    }
    void GetPreferencesBlob(const uint8_t** bytes, int* length) override
    {
        *bytes = noBlob ? nullptr : reinterpret_cast<const uint8_t*>(preferences.data());
        *length = noBlob ? 0 : static_cast<int>(preferences.size());
    }
    bool GetInstallationGuid(GUID& out) override
    {
        out = {0x01020304, 0x0506, 0x0708, {0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F, 0x10}};
        return true;
    }
    void SetUpdateCheckValue(int32_t value) override { checkValue = value; }

    std::string preferences = "blob";
    bool noBlob = false;
    int32_t checkValue = 0;
    CountedDispatch checkObject;
    int checkObjects = 0;
    bool autoInstall = false;
    std::vector<std::pair<bool, bool>> settings;
    bool hasHistory = false;
    MKString history;
};

VARIANT BoolArg(bool value)
{
    VARIANT arg = TypedArg(VT_BOOL);
    arg.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return arg;
}

VARIANT Int64Arg(LONGLONG value)
{
    VARIANT arg = TypedArg(VT_I8);
    arg.llVal = value;
    return arg;
}

class CallbackTest : public ::testing::Test {
protected:
    CallbackTest() : object(new PluginCallbackObject(&services)) { object->AddRef(); }
    ~CallbackTest() override { object->Release(); }

    // Invoke with the arguments in declared order.
    HRESULT Call(DISPID id, std::vector<VARIANT> args, VARIANT* result)
    {
        std::vector<VARIANT> reversed(args.rbegin(), args.rend());
        DISPPARAMS params = {reversed.empty() ? nullptr : reversed.data(), nullptr, static_cast<UINT>(args.size()), 0};
        if (result)
            VariantInit(result);
        return object->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, result, nullptr, nullptr);
    }

    FakeServices services;
    PluginCallbackObject* object;
};

TEST_F(CallbackTest, TextsAndSettingsComeBackAsTheirTypes)
{
    VARIANT result;
    ASSERT_EQ(Call(2, {}, &result), S_OK);
    ASSERT_EQ(result.vt, VT_BSTR);
    EXPECT_STREQ(result.bstrVal, L"Vistello for Microsoft\u00AE Office PowerPoint\u00AE");
    VariantClear(&result);
    ASSERT_EQ(Call(3, {}, &result), S_OK);
    EXPECT_STREQ(result.bstrVal, L"2.1.0.5");
    VariantClear(&result);
    ASSERT_EQ(Call(6, {}, &result), S_OK);
    EXPECT_EQ(result.vt, VT_BOOL);
    EXPECT_EQ(result.boolVal, VARIANT_TRUE);
    ASSERT_EQ(Call(5, {}, &result), S_OK);
    ASSERT_EQ(result.vt, VT_BSTR);
    EXPECT_STREQ(result.bstrVal, L"Operating System: Test\n");
    VariantClear(&result);
    ASSERT_EQ(Call(14, {}, &result), S_OK);
    EXPECT_STREQ(result.bstrVal, L"0102030405060708090A0B0C0D0E0F10");
    VariantClear(&result);
}

TEST_F(CallbackTest, ArgumentsAreCountedAndTypedExactly)
{
    struct Case {
        DISPID id;
        std::vector<VARIANT> args;
        HRESULT expected;
    };
    const Case cases[] = {
        {2, {IntArg(1)}, DISP_E_BADPARAMCOUNT},
        {10, {}, DISP_E_BADPARAMCOUNT},
        {10, {IntArg(1)}, DISP_E_BADVARTYPE},
        {29, {TypedArg(VT_BSTR)}, DISP_E_BADVARTYPE},
        {11, {IntArg(1), IntArg(1)}, DISP_E_BADVARTYPE},
        {12, {Int64Arg(0), IntArg(0)}, DISP_E_BADVARTYPE},
        {1, {IntArg(1)}, DISP_E_BADPARAMCOUNT},
        {5, {IntArg(1)}, DISP_E_BADPARAMCOUNT},
        {13, {IntArg(1)}, DISP_E_BADPARAMCOUNT},
        {7, {IntArg(1)}, DISP_E_BADPARAMCOUNT},
        {8, {BoolArg(true)}, DISP_E_BADPARAMCOUNT},
        {8, {BoolArg(true), IntArg(1)}, DISP_E_BADVARTYPE},
        {8, {IntArg(1), BoolArg(true)}, DISP_E_BADVARTYPE},
        {9, {IntArg(1)}, DISP_E_BADPARAMCOUNT},
        {15, {}, DISP_E_MEMBERNOTFOUND},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        VARIANT result;
        EXPECT_EQ(Call(c.id, c.args, &result), c.expected);
        VariantClear(&result);
    }
    EXPECT_EQ(services.checkValue, 0);
    EXPECT_TRUE(services.settings.empty());
    EXPECT_EQ(services.checkObjects, 0);
    EXPECT_EQ(Call(29, {IntArg(77)}, nullptr), S_OK);
    EXPECT_EQ(services.checkValue, 77);
}

TEST_F(CallbackTest, TheUpdateMembersReachTheirServices)
{
    VARIANT result;
    ASSERT_EQ(Call(1, {}, &result), S_OK);
    ASSERT_EQ(result.vt, VT_DISPATCH);
    EXPECT_EQ(result.pdispVal, &services.checkObject);
    // The caller holds the one reference.
    EXPECT_EQ(services.checkObject.refs, 2u);
    VariantClear(&result);
    EXPECT_EQ(services.checkObject.refs, 1u);

    for (bool install : {true, false}) {
        services.autoInstall = install;
        ASSERT_EQ(Call(7, {}, &result), S_OK);
        EXPECT_EQ(result.vt, VT_BOOL);
        EXPECT_EQ(result.boolVal, install ? VARIANT_TRUE : VARIANT_FALSE);
    }
    // Declared order: auto check, then auto install.
    EXPECT_EQ(Call(8, {BoolArg(false), BoolArg(true)}, &result), S_OK);
    EXPECT_EQ(services.settings, (std::vector<std::pair<bool, bool>>{{false, true}}));

    // No history is a null text; an empty one an empty text.
    ASSERT_EQ(Call(9, {}, &result), S_OK);
    EXPECT_EQ(result.vt, VT_BSTR);
    EXPECT_EQ(result.bstrVal, nullptr);
    services.hasHistory = true;
    ASSERT_EQ(Call(9, {}, &result), S_OK);
    ASSERT_EQ(result.vt, VT_BSTR);
    ASSERT_NE(result.bstrVal, nullptr);
    EXPECT_EQ(SysStringLen(result.bstrVal), 0u);
    VariantClear(&result);
    services.history = L"<history>\n</history>";
    ASSERT_EQ(Call(9, {}, &result), S_OK);
    EXPECT_STREQ(result.bstrVal, L"<history>\n</history>");
    VariantClear(&result);
}

TEST_F(CallbackTest, TheDigestIsTheSaltedSha1InLowerCase)
{
    // Computed outside this code with Python:
    //   hashlib.sha1(text.encode("utf-8") + salt).hexdigest()
    // where salt is the product's 40 bytes 3A 91 5C E7 ... 2C 99.
    struct Case {
        const wchar_t* text;
        const wchar_t* digest;
    };
    const Case cases[] = {
        {L"", L"91890ef219eba7d6ed1ea6ae37e16d56e977a733"},
        {L"a", L"0dd843aa6efa23e6b768748691b12aad11eb77a9"},
        {L"b", L"22605b73271281ebb22f2ee7f2b02bbc96a0cde8"},
        {L"ab", L"b740705c04cb1aaa9d80eaaa598450944d54429e"},
        {L"ac", L"317b02516753f75adb78a6002ed476090b78f18f"},
        {L"abc", L"515647bb7d03627804576e8053a342b91db1e95f"},
        {L"\u00e9t\u00e9 \u20ac", L"4772c64cd5ca484f088bfd3e23f5ef171d4407dd"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.text)));
        VARIANT text = TypedArg(VT_BSTR);
        text.bstrVal = SysAllocString(c.text);
        VARIANT result;
        ASSERT_EQ(Call(10, {text}, &result), S_OK);
        SysFreeString(text.bstrVal);
        ASSERT_EQ(result.vt, VT_BSTR);
        EXPECT_STREQ(result.bstrVal, c.digest);
        VariantClear(&result);
    }
}

TEST_F(CallbackTest, ThePreferencesBlobGoesInCheckedAndIsReadInPlace)
{
    const char bytes[] = "new preferences";
    VARIANT result;
    ASSERT_EQ(Call(11, {Int64Arg(static_cast<LONGLONG>(reinterpret_cast<UINT_PTR>(bytes))), IntArg(15)}, &result),
              S_OK);
    EXPECT_EQ(result.boolVal, VARIANT_TRUE);
    EXPECT_EQ(services.preferences, "new preferences");
    // Addresses that name no readable memory are refused.
    EXPECT_EQ(Call(11, {Int64Arg(16), IntArg(4)}, &result), E_INVALIDARG);
    EXPECT_EQ(Call(11, {Int64Arg(static_cast<LONGLONG>(reinterpret_cast<UINT_PTR>(bytes))), IntArg(-1)}, &result),
              E_INVALIDARG);

    // The kernel reads the live blob where it is and frees nothing.
    LONGLONG address = 0;
    long length = 0;
    VARIANT addressArg = TypedArg(VT_BYREF | VT_I8);
    addressArg.pllVal = &address;
    VARIANT lengthArg = TypedArg(VT_BYREF | VT_I4);
    lengthArg.plVal = &length;
    ASSERT_EQ(Call(12, {addressArg, lengthArg}, nullptr), S_OK);
    EXPECT_EQ(length, 15);
    EXPECT_EQ(address, static_cast<LONGLONG>(reinterpret_cast<UINT_PTR>(services.preferences.data())));

    // No blob at all reads as address 0 and length 0.
    services.noBlob = true;
    address = 1;
    length = 1;
    ASSERT_EQ(Call(12, {addressArg, lengthArg}, nullptr), S_OK);
    EXPECT_EQ(address, 0);
    EXPECT_EQ(length, 0);
}

TEST_F(CallbackTest, EachWebMessageObjectIsNewWithOneReference)
{
    VARIANT first;
    VARIANT second;
    ASSERT_EQ(Call(13, {}, &first), S_OK);
    ASSERT_EQ(Call(13, {}, &second), S_OK);
    ASSERT_EQ(first.vt, VT_DISPATCH);
    ASSERT_NE(first.pdispVal, nullptr);
    EXPECT_NE(first.pdispVal, second.pdispVal);
    IUnknown* channel = nullptr;
    ASSERT_EQ(first.pdispVal->QueryInterface(WebMessageObject::kIdentity, reinterpret_cast<void**>(&channel)), S_OK);
    EXPECT_EQ(channel->Release(), 1u);
    EXPECT_EQ(first.pdispVal->Release(), 0u);
    EXPECT_EQ(second.pdispVal->Release(), 0u);
    // Made and freed again when no result is wanted.
    EXPECT_EQ(Call(13, {}, nullptr), S_OK);
}

TEST_F(CallbackTest, AfterTheKernelUnloadedEveryCallIsNotImplemented)
{
    object->Detach();
    VARIANT result;
    for (DISPID id : {1, 2, 3, 7, 9, 10, 29, 99})
        EXPECT_EQ(Call(id, {}, &result), E_NOTIMPL);
}

}  // namespace
