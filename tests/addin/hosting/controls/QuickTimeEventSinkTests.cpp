// The QuickTime Control's event sink: which events it accepts with which
// arguments, and the status reports it passes on.
#include "addin/hosting/QuickTimeEventSink.h"
#include "hostapi/QuickTimeInterfaces.h"

#include <gtest/gtest.h>
#include <oleidl.h>

#include <string>
#include <vector>

namespace {

struct StatusRecorder : QuickTimeStatusHandler {
    void OnQuickTimeStatus(int32_t first, int32_t second, const MKString& text) override
    {
        reports.push_back(std::to_wstring(first) + L" " + std::to_wstring(second) + L" " + text.GetText());
    }
    std::vector<std::wstring> reports;
};

// Arguments given first to last, as the event names them.
HRESULT Fire(IDispatch* sink, DISPID id, std::vector<VARIANT> arguments)
{
    std::vector<VARIANT> reversed(arguments.rbegin(), arguments.rend());
    DISPPARAMS params = {reversed.data(), nullptr, UINT(reversed.size()), 0};
    HRESULT hr = sink->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
    for (VARIANT& argument : arguments)
        VariantClear(&argument);
    return hr;
}

VARIANT Int(VARTYPE type, LONG value)
{
    VARIANT variant;
    VariantInit(&variant);
    variant.vt = type;
    if (type == VT_I2)
        variant.iVal = SHORT(value);
    else
        variant.lVal = value;
    return variant;
}

VARIANT Text(const wchar_t* text)
{
    VARIANT variant;
    VariantInit(&variant);
    variant.vt = VT_BSTR;
    variant.bstrVal = SysAllocString(text);
    return variant;
}

TEST(QuickTimeEventSink, ChecksEveryEventsArgumentsBeforeActing)
{
    StatusRecorder recorder;
    auto* sink = new QuickTimeEventSink(&recorder);
    sink->AddRef();
    struct Case {
        DISPID id;
        std::vector<VARIANT> arguments;
        HRESULT result;
    };
    std::vector<Case> cases;
    cases.push_back({1, {Text(L"anything")}, S_OK});
    cases.push_back({2, {Int(VT_I4, 1), Int(VT_I4, 2)}, S_OK});
    cases.push_back({3, {Int(VT_I4, 1)}, DISP_E_BADPARAMCOUNT});
    cases.push_back({4, {Int(VT_I4, 0), Int(VT_I4, 4099), Text(L"clip.mov")}, S_OK});
    cases.push_back({4, {Int(VT_I2, 0), Int(VT_I4, 4099), Text(L"clip.mov")}, DISP_E_BADVARTYPE});
    cases.push_back({4, {Int(VT_I4, 0), Int(VT_I4, 4099)}, DISP_E_BADPARAMCOUNT});
    cases.push_back({5, {Int(VT_I2, 1), Int(VT_I2, 2), Int(VT_I2, 3), Int(VT_I2, 4)}, S_OK});
    cases.push_back({7, {Int(VT_I2, 1), Int(VT_I2, 2), Int(VT_I2, 3), Int(VT_I4, 4)}, DISP_E_BADVARTYPE});
    cases.push_back({8, {}, DISP_E_MEMBERNOTFOUND});
    for (Case& c : cases)
        EXPECT_EQ(c.result, Fire(sink, c.id, c.arguments)) << c.id;
    EXPECT_EQ(std::vector<std::wstring>{L"0 4099 clip.mov"}, recorder.reports);

    void* out = nullptr;
    EXPECT_EQ(S_OK, sink->QueryInterface(DIID_QuickTimeControlEvents, &out));
    static_cast<IUnknown*>(out)->Release();
    EXPECT_EQ(E_NOINTERFACE, sink->QueryInterface(IID_IOleObject, &out));
    sink->ForgetHandler();
    EXPECT_EQ(S_OK, Fire(sink, 4, {Int(VT_I4, 0), Int(VT_I4, 1), Text(L"late")}));
    EXPECT_EQ(1u, recorder.reports.size());
    EXPECT_EQ(0u, sink->Release());
}

}  // namespace
