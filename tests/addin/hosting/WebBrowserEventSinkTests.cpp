#include "addin/hosting/WebBrowserEventSink.h"
#include "hostapi/WebBrowserInterfaces.h"

#include <gtest/gtest.h>

#include <exdispid.h>
#include <functional>
#include <vector>

namespace {

// The arguments of one event in declared order, with the variants that
// by-reference arguments point to kept alive beside them.
struct EventArgs {
    std::vector<VARIANT> declared;
    VARIANT targets[8];
    VARIANT_BOOL cancel = VARIANT_TRUE;
    IDispatch* window = nullptr;

    EventArgs()
    {
        for (VARIANT& target : targets)
            VariantInit(&target);
    }
    ~EventArgs()
    {
        for (VARIANT& target : targets)
            VariantClear(&target);
        for (VARIANT& argument : declared)
            if (argument.vt == VT_BSTR)
                VariantClear(&argument);
    }
    EventArgs& Value(VARTYPE type)
    {
        VARIANT v;
        VariantInit(&v);
        v.vt = type;
        if (type == VT_BSTR)
            v.bstrVal = SysAllocString(L"text");
        declared.push_back(v);
        return *this;
    }
    // A VT_BYREF | VT_VARIANT argument pointing to a variant of `type`.
    EventArgs& Ref(VARTYPE type)
    {
        VARIANT& target = targets[declared.size()];
        target.vt = type;
        if (type == VT_BSTR)
            target.bstrVal = SysAllocString(L"http://page/");
        VARIANT v;
        v.vt = VT_BYREF | VT_VARIANT;
        v.pvarVal = &target;
        declared.push_back(v);
        return *this;
    }
    // Post data: a reference to a reference to a variant of `type`.
    EventArgs& PostRef(VARTYPE type)
    {
        VARIANT& inner = targets[7];
        inner.vt = type;
        VARIANT& outer = targets[declared.size()];
        outer.vt = VT_BYREF | VT_VARIANT;
        outer.pvarVal = &inner;
        VARIANT v;
        v.vt = VT_BYREF | VT_VARIANT;
        v.pvarVal = &outer;
        declared.push_back(v);
        return *this;
    }
    EventArgs& Cancel()
    {
        VARIANT v;
        v.vt = VT_BYREF | VT_BOOL;
        v.pboolVal = &cancel;
        declared.push_back(v);
        return *this;
    }
    EventArgs& Window()
    {
        VARIANT v;
        v.vt = VT_BYREF | VT_DISPATCH;
        v.ppdispVal = &window;
        declared.push_back(v);
        return *this;
    }

    HRESULT InvokeOn(IDispatch* sink, DISPID id)
    {
        std::vector<VARIANT> reversed(declared.rbegin(), declared.rend());
        DISPPARAMS params = {reversed.empty() ? nullptr : reversed.data(), nullptr, UINT(reversed.size()), 0};
        return sink->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
    }
};

EventArgs BeforeNavigate2(VARTYPE url, VARTYPE flags = VT_I4, VARTYPE frame = VT_EMPTY, VARTYPE headers = VT_EMPTY)
{
    EventArgs args;
    args.Value(VT_DISPATCH).Ref(url).Ref(flags).Ref(frame).Ref(VT_EMPTY).Ref(headers).Cancel();
    return args;
}

class WebBrowserEventSinkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        sink = new WebBrowserEventSink();
        sink->AddRef();
    }
    void TearDown() override { EXPECT_EQ(0u, sink->Release()); }

    IDispatch* sink = nullptr;
};

struct SinkCase {
    const char* name;
    DISPID id;
    std::function<void(EventArgs&)> build;
    HRESULT answer;
    // The cancel flag afterwards (it starts VARIANT_TRUE).
    VARIANT_BOOL cancel;
};

class WebBrowserSinkTable : public WebBrowserEventSinkTest, public ::testing::WithParamInterface<SinkCase> {};

TEST_P(WebBrowserSinkTable, ChecksArgumentsAndLetsNavigationGoAhead)
{
    EventArgs args;
    GetParam().build(args);
    EXPECT_EQ(GetParam().answer, args.InvokeOn(sink, GetParam().id));
    EXPECT_EQ(GetParam().cancel, args.cancel);
}

const VARIANT_BOOL kUntouched = VARIANT_TRUE;
const VARIANT_BOOL kGoAhead = VARIANT_FALSE;
const VARIANT_BOOL kRefused = VARIANT_TRUE;

void Navigation(EventArgs& a, VARTYPE url, VARTYPE flags, VARTYPE frame, VARTYPE headers)
{
    a.Value(VT_DISPATCH).Ref(url).Ref(flags).Ref(frame).Ref(VT_EMPTY).Ref(headers).Cancel();
}

INSTANTIATE_TEST_SUITE_P(
    Events, WebBrowserSinkTable,
    ::testing::Values(
        SinkCase{"StatusText", DISPID_STATUSTEXTCHANGE, [](EventArgs& a) { a.Value(VT_BSTR); }, S_OK, kUntouched},
        SinkCase{"StatusTextNotText", DISPID_STATUSTEXTCHANGE, [](EventArgs& a) { a.Value(VT_I4); },
                 DISP_E_BADVARTYPE, kUntouched},
        SinkCase{"StatusTextTwoArgs", DISPID_STATUSTEXTCHANGE, [](EventArgs& a) { a.Value(VT_BSTR).Value(VT_BSTR); },
                 DISP_E_BADPARAMCOUNT, kUntouched},
        SinkCase{"DownloadComplete", DISPID_DOWNLOADCOMPLETE, [](EventArgs&) {}, S_OK, kUntouched},
        SinkCase{"DownloadBeginWithArg", DISPID_DOWNLOADBEGIN, [](EventArgs& a) { a.Value(VT_I4); },
                 DISP_E_BADPARAMCOUNT, kUntouched},
        SinkCase{"CommandState", DISPID_COMMANDSTATECHANGE, [](EventArgs& a) { a.Value(VT_I4).Value(VT_BOOL); }, S_OK,
                 kUntouched},
        SinkCase{"CommandStateSwapped", DISPID_COMMANDSTATECHANGE, [](EventArgs& a) { a.Value(VT_BOOL).Value(VT_I4); },
                 DISP_E_BADVARTYPE, kUntouched},
        SinkCase{"ProgressAnyTypes", DISPID_PROGRESSCHANGE, [](EventArgs& a) { a.Value(VT_BSTR).Value(VT_R8); }, S_OK,
                 kUntouched},
        SinkCase{"ProgressOneArg", DISPID_PROGRESSCHANGE, [](EventArgs& a) { a.Value(VT_I4); }, DISP_E_BADPARAMCOUNT,
                 kUntouched},
        SinkCase{"Title", DISPID_TITLECHANGE, [](EventArgs& a) { a.Value(VT_BSTR); }, S_OK, kUntouched},
        SinkCase{"PrintTemplateAnything", DISPID_PRINTTEMPLATEINSTANTIATION,
                 [](EventArgs& a) { a.Value(VT_R8).Value(VT_R8).Value(VT_R8); }, S_OK, kUntouched},
        SinkCase{"WindowClosingAnything", DISPID_WINDOWCLOSING, [](EventArgs&) {}, S_OK, kUntouched},
        SinkCase{"BeforeNavigate", DISPID_BEFORENAVIGATE2,
                 [](EventArgs& a) { Navigation(a, VT_BSTR, VT_I4, VT_BSTR, VT_BSTR); }, S_OK, kGoAhead},
        SinkCase{"BeforeNavigateEmpties", DISPID_BEFORENAVIGATE2,
                 [](EventArgs& a) { Navigation(a, VT_EMPTY, VT_EMPTY, VT_EMPTY, VT_EMPTY); }, S_OK, kGoAhead},
        SinkCase{"BeforeNavigatePostDataText", DISPID_BEFORENAVIGATE2,
                 [](EventArgs& a) {
                     a.Value(VT_DISPATCH).Ref(VT_BSTR).Ref(VT_I4).Ref(VT_EMPTY).PostRef(VT_BSTR).Ref(VT_EMPTY).Cancel();
                 },
                 S_OK, kGoAhead},
        SinkCase{"BeforeNavigatePostDataNumber", DISPID_BEFORENAVIGATE2,
                 [](EventArgs& a) {
                     a.Value(VT_DISPATCH).Ref(VT_BSTR).Ref(VT_I4).Ref(VT_EMPTY).PostRef(VT_I4).Ref(VT_EMPTY).Cancel();
                 },
                 DISP_E_BADVARTYPE, kUntouched},
        SinkCase{"BeforeNavigateUrlNumber", DISPID_BEFORENAVIGATE2,
                 [](EventArgs& a) { Navigation(a, VT_I4, VT_I4, VT_EMPTY, VT_EMPTY); }, DISP_E_BADVARTYPE, kUntouched},
        SinkCase{"BeforeNavigateFlagsText", DISPID_BEFORENAVIGATE2,
                 [](EventArgs& a) { Navigation(a, VT_BSTR, VT_BSTR, VT_EMPTY, VT_EMPTY); }, DISP_E_BADVARTYPE,
                 kUntouched},
        SinkCase{"BeforeNavigateHeadersNumber", DISPID_BEFORENAVIGATE2,
                 [](EventArgs& a) { Navigation(a, VT_BSTR, VT_I4, VT_EMPTY, VT_I4); }, DISP_E_BADVARTYPE, kUntouched},
        SinkCase{"BeforeNavigateUrlByValue", DISPID_BEFORENAVIGATE2,
                 [](EventArgs& a) {
                     a.Value(VT_DISPATCH).Value(VT_BSTR).Ref(VT_I4).Ref(VT_EMPTY).Ref(VT_EMPTY).Ref(VT_EMPTY).Cancel();
                 },
                 DISP_E_BADVARTYPE, kUntouched},
        SinkCase{"BeforeNavigateNoBrowser", DISPID_BEFORENAVIGATE2,
                 [](EventArgs& a) {
                     a.Value(VT_UNKNOWN).Ref(VT_BSTR).Ref(VT_I4).Ref(VT_EMPTY).Ref(VT_EMPTY).Ref(VT_EMPTY).Cancel();
                 },
                 DISP_E_BADVARTYPE, kUntouched},
        SinkCase{"BeforeNavigateSixArgs", DISPID_BEFORENAVIGATE2,
                 [](EventArgs& a) { a.Value(VT_DISPATCH).Ref(VT_BSTR).Ref(VT_I4).Ref(VT_EMPTY).Ref(VT_EMPTY).Cancel(); },
                 DISP_E_BADPARAMCOUNT, kUntouched},
        SinkCase{"NavigateComplete", DISPID_NAVIGATECOMPLETE2, [](EventArgs& a) { a.Value(VT_DISPATCH).Ref(VT_BSTR); },
                 S_OK, kUntouched},
        SinkCase{"DocumentCompleteUrlNumber", DISPID_DOCUMENTCOMPLETE,
                 [](EventArgs& a) { a.Value(VT_DISPATCH).Ref(VT_I4); }, DISP_E_BADVARTYPE, kUntouched},
        SinkCase{"OnQuit", DISPID_ONQUIT, [](EventArgs&) {}, S_OK, kUntouched},
        SinkCase{"OnVisible", DISPID_ONVISIBLE, [](EventArgs& a) { a.Value(VT_BOOL); }, S_OK, kUntouched},
        SinkCase{"OnTheaterModeNumber", DISPID_ONTHEATERMODE, [](EventArgs& a) { a.Value(VT_I4); }, DISP_E_BADVARTYPE,
                 kUntouched},
        SinkCase{"WindowSetLeftAnyType", DISPID_WINDOWSETLEFT, [](EventArgs& a) { a.Value(VT_BSTR); }, S_OK,
                 kUntouched},
        SinkCase{"PhishingNoArg", DISPID_SETPHISHINGFILTERSTATUS, [](EventArgs&) {}, DISP_E_BADPARAMCOUNT, kUntouched},
        SinkCase{"FileDownload", DISPID_FILEDOWNLOAD, [](EventArgs& a) { a.Value(VT_BOOL).Cancel(); }, S_OK, kGoAhead},
        SinkCase{"FileDownloadNumber", DISPID_FILEDOWNLOAD, [](EventArgs& a) { a.Value(VT_I4).Cancel(); },
                 DISP_E_BADVARTYPE, kUntouched},
        SinkCase{"NavigateError", DISPID_NAVIGATEERROR,
                 [](EventArgs& a) { a.Value(VT_DISPATCH).Ref(VT_BSTR).Ref(VT_EMPTY).Ref(VT_I4).Cancel(); }, S_OK,
                 kGoAhead},
        SinkCase{"NavigateErrorStatusText", DISPID_NAVIGATEERROR,
                 [](EventArgs& a) { a.Value(VT_DISPATCH).Ref(VT_BSTR).Ref(VT_EMPTY).Ref(VT_BSTR).Cancel(); },
                 DISP_E_BADVARTYPE, kUntouched},
        SinkCase{"NewWindow2", DISPID_NEWWINDOW2, [](EventArgs& a) { a.Window().Cancel(); }, S_OK, kRefused},
        SinkCase{"NewWindow3", DISPID_NEWWINDOW3,
                 [](EventArgs& a) {
                     a.cancel = VARIANT_FALSE;
                     a.Window().Cancel().Value(VT_I4).Value(VT_BSTR).Value(VT_BSTR);
                 },
                 S_OK, kRefused},
        SinkCase{"NewWindow3ShortCount", DISPID_NEWWINDOW3,
                 [](EventArgs& a) {
                     a.cancel = VARIANT_FALSE;
                     a.Window().Cancel();
                 },
                 DISP_E_BADPARAMCOUNT, VARIANT_FALSE},
        SinkCase{"WindowStateChanged", DISPID_WINDOWSTATECHANGED, [](EventArgs& a) { a.Value(VT_I4).Value(VT_I4); },
                 DISP_E_MEMBERNOTFOUND, kUntouched},
        SinkCase{"WindowStateChangedOneArg", DISPID_WINDOWSTATECHANGED, [](EventArgs& a) { a.Value(VT_I4); },
                 DISP_E_BADPARAMCOUNT, kUntouched},
        SinkCase{"OldBeforeNavigate", DISPID_BEFORENAVIGATE, [](EventArgs&) {}, DISP_E_MEMBERNOTFOUND, kUntouched},
        SinkCase{"Unknown", 9999, [](EventArgs&) {}, DISP_E_MEMBERNOTFOUND, kUntouched}),
    [](const ::testing::TestParamInfo<SinkCase>& info) { return info.param.name; });

TEST_F(WebBrowserEventSinkTest, AnswersItsInterfacesOnly)
{
    for (const IID* iid : {&IID_IUnknown, &IID_IDispatch, &DIID_DWebBrowserEvents2}) {
        IUnknown* same = nullptr;
        EXPECT_EQ(S_OK, sink->QueryInterface(*iid, reinterpret_cast<void**>(&same)));
        EXPECT_EQ(static_cast<IUnknown*>(sink), same);
        same->Release();
    }
    void* other = &other;
    EXPECT_EQ(E_NOINTERFACE, sink->QueryInterface(DIID_DWebBrowserEvents, &other));
    EXPECT_EQ(nullptr, other);
    UINT count = 7;
    EXPECT_EQ(E_NOTIMPL, sink->GetTypeInfoCount(&count));
    // Null parameters count as no arguments.
    EXPECT_EQ(S_OK, sink->Invoke(DISPID_ONQUIT, IID_NULL, 0, DISPATCH_METHOD, nullptr, nullptr, nullptr, nullptr));
}

}  // namespace
