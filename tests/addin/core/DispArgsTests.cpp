// Automation arguments read by position and exact type, and typed results.
#include "addin/core/DispArgs.h"
#include "addin/core/DispResult.h"
#include "base/MKString.h"
#include "fixtures/CountedDispatch.h"
#include "fixtures/VariantArgs.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

// DISPPARAMS over arguments given in declared order (stored last first).
struct Params {
    explicit Params(std::vector<VARIANT> inOrder) : args(inOrder.rbegin(), inOrder.rend())
    {
        params.rgvarg = args.data();
        params.cArgs = UINT(args.size());
    }
    std::vector<VARIANT> args;
    DISPPARAMS params{};
};

int32_t g_int = 7;
float g_float = 2.5f;
VARIANT_BOOL g_bool = VARIANT_TRUE;
int64_t g_int64 = -5;
VARIANT g_variant;
CountedDispatch g_dispatch;
BSTR g_text = nullptr;

// One reader: its variant type, a value of that type, and the check of what
// it gave out.
struct ReaderCase {
    const char* name;
    VARTYPE type;
    std::function<void(VARIANT&)> fill;
    std::function<HRESULT(DispArgs&, UINT)> read;
};

std::vector<ReaderCase> ReaderCases()
{
    return {
        {"GetInt", VT_I4, [](VARIANT& v) { v.lVal = -3; },
         [](DispArgs& a, UINT p) {
             int32_t out = 0;
             HRESULT hr = a.GetInt(p, &out);
             EXPECT_EQ(out, SUCCEEDED(hr) ? -3 : 0);
             return hr;
         }},
        {"GetFloat", VT_R4, [](VARIANT& v) { v.fltVal = 1.5f; },
         [](DispArgs& a, UINT p) {
             float out = 0;
             HRESULT hr = a.GetFloat(p, &out);
             EXPECT_EQ(out, SUCCEEDED(hr) ? 1.5f : 0.0f);
             return hr;
         }},
        {"GetString", VT_BSTR, [](VARIANT& v) { v.bstrVal = g_text; },
         [](DispArgs& a, UINT p) {
             MKString out;
             HRESULT hr = a.GetString(p, &out);
             MKString expected = SUCCEEDED(hr) ? MKString::MKStringFromChars(L"text\0more", 9) : MKString();
             EXPECT_TRUE(out == expected);
             return hr;
         }},
        {"GetBstr", VT_BSTR, [](VARIANT& v) { v.bstrVal = g_text; },
         [](DispArgs& a, UINT p) {
             BSTR out = nullptr;
             HRESULT hr = a.GetBstr(p, &out);
             EXPECT_EQ(out, SUCCEEDED(hr) ? g_text : nullptr);
             return hr;
         }},
        {"GetDispatch", VT_DISPATCH, [](VARIANT& v) { v.pdispVal = &g_dispatch; },
         [](DispArgs& a, UINT p) {
             IDispatch* out = nullptr;
             HRESULT hr = a.GetDispatch(p, &out);
             EXPECT_EQ(out, SUCCEEDED(hr) ? &g_dispatch : nullptr);
             return hr;
         }},
        {"GetBool", VT_BOOL, [](VARIANT& v) { v.boolVal = 1; },
         [](DispArgs& a, UINT p) {
             bool out = false;
             HRESULT hr = a.GetBool(p, &out);
             EXPECT_EQ(out, SUCCEEDED(hr));
             return hr;
         }},
        {"GetUnknown", VT_UNKNOWN, [](VARIANT& v) { v.punkVal = &g_dispatch; },
         [](DispArgs& a, UINT p) {
             IUnknown* out = nullptr;
             HRESULT hr = a.GetUnknown(p, &out);
             EXPECT_EQ(out, SUCCEEDED(hr) ? static_cast<IUnknown*>(&g_dispatch) : nullptr);
             return hr;
         }},
        {"GetInt64", VT_I8, [](VARIANT& v) { v.llVal = -5000000000LL; },
         [](DispArgs& a, UINT p) {
             int64_t out = 0;
             HRESULT hr = a.GetInt64(p, &out);
             EXPECT_EQ(out, SUCCEEDED(hr) ? -5000000000LL : 0);
             return hr;
         }},
        {"GetIntRef", VT_BYREF | VT_I4, [](VARIANT& v) { v.plVal = reinterpret_cast<LONG*>(&g_int); },
         [](DispArgs& a, UINT p) {
             int32_t* out = nullptr;
             HRESULT hr = a.GetIntRef(p, &out);
             EXPECT_EQ(out, SUCCEEDED(hr) ? &g_int : nullptr);
             return hr;
         }},
        {"GetFloatRef", VT_BYREF | VT_R4, [](VARIANT& v) { v.pfltVal = &g_float; },
         [](DispArgs& a, UINT p) {
             float* out = nullptr;
             HRESULT hr = a.GetFloatRef(p, &out);
             EXPECT_EQ(out, SUCCEEDED(hr) ? &g_float : nullptr);
             return hr;
         }},
        {"GetBoolRef", VT_BYREF | VT_BOOL, [](VARIANT& v) { v.pboolVal = &g_bool; },
         [](DispArgs& a, UINT p) {
             VARIANT_BOOL* out = nullptr;
             HRESULT hr = a.GetBoolRef(p, &out);
             EXPECT_EQ(out, SUCCEEDED(hr) ? &g_bool : nullptr);
             return hr;
         }},
        {"GetInt64Ref", VT_BYREF | VT_I8, [](VARIANT& v) { v.pllVal = reinterpret_cast<LONGLONG*>(&g_int64); },
         [](DispArgs& a, UINT p) {
             int64_t* out = nullptr;
             HRESULT hr = a.GetInt64Ref(p, &out);
             EXPECT_EQ(out, SUCCEEDED(hr) ? &g_int64 : nullptr);
             return hr;
         }},
        {"GetVariantRef", VT_BYREF | VT_VARIANT, [](VARIANT& v) { v.pvarVal = &g_variant; },
         [](DispArgs& a, UINT p) {
             VARIANT* out = nullptr;
             HRESULT hr = a.GetVariantRef(p, &out);
             EXPECT_EQ(out, SUCCEEDED(hr) ? &g_variant : nullptr);
             return hr;
         }},
    };
}

// Every type a reader may meet; each reader accepts exactly one of them.
const VARTYPE kAllTypes[] = {VT_EMPTY,          VT_NULL,           VT_I2,           VT_I4,
                             VT_R4,             VT_R8,             VT_BSTR,         VT_DISPATCH,
                             VT_BOOL,           VT_VARIANT,        VT_UNKNOWN,      VT_UI4,
                             VT_I8,             VT_INT,            VT_BYREF | VT_I4, VT_BYREF | VT_R4,
                             VT_BYREF | VT_BOOL, VT_BYREF | VT_I8, VT_BYREF | VT_VARIANT,
                             VT_BYREF | VT_BSTR, VT_BYREF | VT_I2, VT_BYREF | VT_DISPATCH};

class DispArgsTest : public ::testing::Test {
protected:
    void SetUp() override { g_text = SysAllocStringLen(L"text\0more", 9); }
    void TearDown() override { SysFreeString(g_text); }
};

TEST_F(DispArgsTest, EachReaderTakesExactlyItsOwnVariantType)
{
    for (const ReaderCase& reader : ReaderCases()) {
        SCOPED_TRACE(reader.name);
        for (VARTYPE type : kAllTypes) {
            SCOPED_TRACE(type);
            VARIANT value = TypedArg(type);
            if (type == reader.type)
                reader.fill(value);
            else
                value.llVal = 0;
            // The argument under test is the second of three.
            Params call({TypedArg(VT_EMPTY), value, TypedArg(VT_EMPTY)});
            DispArgs args(&call.params);
            HRESULT hr = reader.read(args, 1);
            EXPECT_EQ(hr, type == reader.type ? S_OK : DISP_E_BADVARTYPE);
            EXPECT_EQ(args.Error(), hr);
        }
    }
    EXPECT_EQ(g_dispatch.refs, 1u);  // borrowed, never counted
}

TEST_F(DispArgsTest, PositionsCountFromTheFirstDeclaredArgument)
{
    Params call({IntArg(1), IntArg(2)});
    DispArgs args(&call.params);
    EXPECT_EQ(args.Count(), 2u);
    int32_t a = 0;
    int32_t b = 0;
    EXPECT_EQ(args.GetInt(0, &a), S_OK);
    EXPECT_EQ(args.GetInt(1, &b), S_OK);
    EXPECT_EQ(a, 1);
    EXPECT_EQ(b, 2);
    EXPECT_EQ(args.TypeAt(1), VT_I4);
    EXPECT_EQ(args.TypeAt(2), VT_EMPTY);
}

TEST_F(DispArgsTest, ANullBstrReadsAsTheEmptyString)
{
    VARIANT text = TypedArg(VT_BSTR);
    text.bstrVal = nullptr;
    Params call({text});
    DispArgs args(&call.params);
    MKString out(L"stale");
    EXPECT_EQ(args.GetString(0, &out), S_OK);
    EXPECT_TRUE(out.IsEmpty());
    EXPECT_EQ(args.Error(), S_OK);
}

TEST_F(DispArgsTest, TheFirstFailureSticksThroughLaterReads)
{
    Params call({TypedArg(VT_I2), TypedArg(VT_I4), TypedArg(VT_BSTR)});
    DispArgs args(&call.params);
    int32_t value = 0;
    EXPECT_EQ(args.GetInt(0, &value), DISP_E_BADVARTYPE);
    EXPECT_EQ(args.GetInt(1, &value), S_OK);
    EXPECT_EQ(args.GetInt(5, &value), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(args.Error(), DISP_E_BADVARTYPE);

    DispArgs beyond(&call.params);
    EXPECT_EQ(beyond.GetInt(3, &value), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(beyond.Error(), DISP_E_BADPARAMCOUNT);

    DispArgs none(nullptr);
    EXPECT_EQ(none.Count(), 0u);
    EXPECT_EQ(none.GetInt(0, &value), DISP_E_BADPARAMCOUNT);
}

TEST_F(DispArgsTest, ANullFlagPointerIsRefusedAndRecorded)
{
    VARIANT flag = TypedArg(VT_BYREF | VT_BOOL);
    flag.pboolVal = nullptr;
    Params call({flag});
    DispArgs args(&call.params);
    VARIANT_BOOL* out = nullptr;
    EXPECT_EQ(args.GetBoolRef(0, &out), E_INVALIDARG);
    EXPECT_EQ(args.Error(), E_INVALIDARG);
    EXPECT_EQ(out, nullptr);
}

TEST(DispResultTest, WritersClearTheOldValueAndStoreTheirType)
{
    CountedDispatch held;
    VARIANT result;
    VariantInit(&result);
    DispResult writer(&result);
    ASSERT_TRUE(writer.IsWanted());

    writer.SetDispatch(&held);
    EXPECT_EQ(result.vt, VT_DISPATCH);
    EXPECT_EQ(held.refs, 2u);
    writer.SetInt(-9);  // releases the interface it replaces
    EXPECT_EQ(held.refs, 1u);
    EXPECT_EQ(result.vt, VT_I4);
    EXPECT_EQ(result.lVal, -9);
    writer.SetFloat(0.25f);
    EXPECT_EQ(result.vt, VT_R4);
    EXPECT_EQ(result.fltVal, 0.25f);
    writer.SetBool(true);
    EXPECT_EQ(result.vt, VT_BOOL);
    EXPECT_EQ(result.boolVal, VARIANT_TRUE);
    writer.SetBool(false);
    EXPECT_EQ(result.boolVal, VARIANT_FALSE);
    writer.SetInt64(1LL << 40);
    EXPECT_EQ(result.vt, VT_I8);
    EXPECT_EQ(result.llVal, 1LL << 40);

    MKString text = MKString::MKStringFromChars(L"a\0b", 3);
    EXPECT_EQ(writer.SetString(text), S_OK);
    EXPECT_EQ(result.vt, VT_BSTR);
    EXPECT_EQ(SysStringLen(result.bstrVal), 3u);
    EXPECT_EQ(result.bstrVal[2], L'b');
    EXPECT_EQ(writer.SetText(L"plain"), S_OK);
    EXPECT_STREQ(result.bstrVal, L"plain");
    EXPECT_EQ(writer.SetText(nullptr), S_OK);
    EXPECT_EQ(result.vt, VT_BSTR);
    EXPECT_EQ(result.bstrVal, nullptr);

    BSTR given = SysAllocString(L"given");
    EXPECT_TRUE(writer.SetBstr(given));
    EXPECT_EQ(result.bstrVal, given);

    writer.SetDispatch(nullptr);
    EXPECT_EQ(result.vt, VT_DISPATCH);
    EXPECT_EQ(result.pdispVal, nullptr);
    VariantClear(&result);
}

TEST(DispResultTest, WithoutAResultNothingIsWrittenOrTakenOver)
{
    CountedDispatch held;
    DispResult writer(nullptr);
    EXPECT_FALSE(writer.IsWanted());
    writer.SetInt(1);
    writer.SetDispatch(&held);
    EXPECT_EQ(held.refs, 1u);
    EXPECT_EQ(writer.SetString(MKString(L"x")), S_OK);
    BSTR mine = SysAllocString(L"mine");
    EXPECT_FALSE(writer.SetBstr(mine));
    EXPECT_STREQ(mine, L"mine");  // still the caller's
    SysFreeString(mine);
}

}  // namespace
