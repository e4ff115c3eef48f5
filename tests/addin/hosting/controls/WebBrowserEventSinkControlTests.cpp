#include "addin/hosting/WebBrowserEventSink.h"
#include "fixtures/ComScope.h"
#include "fixtures/Fixtures.h"
#include "hostapi/WebBrowserInterfaces.h"
#include "tests/standins/controlsupport/ControlLogFile.h"
#include "tests/standins/controlsupport/ControlRegistration.h"
#include "tests/standins/controlsupport/EventConnection.h"
#include "tests/standins/controlsupport/HostWindow.h"
#include "tests/standins/controlsupport/QueryAs.h"
#include "tests/standins/controlsupport/TestControlSite.h"
#include "tests/standins/controlsupport/TextFile.h"

#include <gtest/gtest.h>

#include <exdispid.h>

#include <string>

// The WebBrowser stand-in's events reaching the web node's sink: navigation
// goes ahead, windows that pages ask for are refused.
namespace {

BOOL CALLBACK CountVisible(HWND window, LPARAM counter)
{
    if (IsWindowVisible(window))
        ++*reinterpret_cast<int*>(counter);
    return TRUE;
}

int VisibleTopLevelWindows()
{
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountVisible, reinterpret_cast<LPARAM>(&count));
    return count;
}

class WebBrowserSinkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(registration.Registered());
        page = folder.File(L"popup.htm");
        ASSERT_TRUE(WriteTextFile(page, "<html><title>Popup</title><body bgcolor=\"#204060\" "
                                        "onload=\"window.open('http://elsewhere/ad.htm')\">Text</body></html>"));
        site = new TestControlSite(window.Get(), RECT{0, 0, 160, 120}, false, nullptr);
        ASSERT_EQ(S_OK, site->Create(CLSID_WebBrowserControl, nullptr, &control));
        browser = QueryAs<IWebBrowser2>(control, IID_IWebBrowser2);
        ASSERT_NE(nullptr, browser);
    }
    void TearDown() override
    {
        if (browser)
            browser->Release();
        if (control) {
            TestControlSite::Destroy(control);
            control->Release();
        }
        site->Release();
    }

    // Navigates to the page and waits until the control has handled its
    // request for a window.
    void LoadPage()
    {
        VARIANT target;
        target.vt = VT_BSTR;
        target.bstrVal = SysAllocString(page.c_str());
        VARIANT missing;
        missing.vt = VT_ERROR;
        missing.scode = DISP_E_PARAMNOTFOUND;
        EXPECT_EQ(S_OK, browser->Navigate2(&target, &missing, &missing, &missing, &missing));
        SysFreeString(target.bstrVal);
        ASSERT_TRUE(PumpUntil([&] { return log.Contains(L"fire DocumentComplete"); }));
    }

    ComScope com;
    ControlRegistration registration{StandInControl::WebBrowser};
    ControlLogFile log;
    ScratchFolder folder;
    HostWindow window{160, 120};
    std::wstring page;
    TestControlSite* site = nullptr;
    IOleObject* control = nullptr;
    IWebBrowser2* browser = nullptr;
};

TEST_F(WebBrowserSinkTest, PageOpensNoWindowThroughTheSink)
{
    WebBrowserEventSink* sink = new WebBrowserEventSink();
    sink->AddRef();
    EventConnection connection(control, DIID_DWebBrowserEvents2, static_cast<IDispatch*>(sink));
    ASSERT_TRUE(connection.Connected());
    const int before = VisibleTopLevelWindows();
    LoadPage();
    EXPECT_EQ(before, VisibleTopLevelWindows());
    EXPECT_TRUE(log.Contains(L"fire BeforeNavigate2(") && log.Contains(L") = 0x00000000, cancel false"));
    EXPECT_TRUE(log.Contains(L"fire NewWindow2 = 0x00000000, cancel true"));
    EXPECT_FALSE(log.Contains(L"window opened"));
    EXPECT_TRUE(log.Contains(L"page loaded \"Popup\""));
    connection.Disconnect();
    EXPECT_EQ(0u, sink->Release());
}

// A browser that asks for new windows with NewWindow3 alone: every other
// event goes to the sink, NewWindow2 is let through unanswered so that the
// stand-in goes on to NewWindow3.
class NewWindow3Only final : public IDispatch {
public:
    explicit NewWindow3Only(IDispatch* sink) : m_sink(sink) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (iid != IID_IUnknown && iid != IID_IDispatch && iid != DIID_DWebBrowserEvents2) {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        *out = this;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --m_refs; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override
    {
        if (id == DISPID_NEWWINDOW2)
            return S_OK;
        return m_sink->Invoke(id, iid, locale, flags, params, result, exception, argumentError);
    }

private:
    ULONG m_refs = 1;  // the test's, on the stack
    IDispatch* m_sink;
};

TEST_F(WebBrowserSinkTest, NewWindow3AloneOpensNoWindowEither)
{
    WebBrowserEventSink* sink = new WebBrowserEventSink();
    sink->AddRef();
    NewWindow3Only browserSide(static_cast<IDispatch*>(sink));
    EventConnection connection(control, DIID_DWebBrowserEvents2, &browserSide);
    ASSERT_TRUE(connection.Connected());
    const int before = VisibleTopLevelWindows();
    LoadPage();
    EXPECT_EQ(before, VisibleTopLevelWindows());
    EXPECT_TRUE(log.Contains(L"fire NewWindow2 = 0x00000000, cancel false"));
    EXPECT_TRUE(log.Contains(L"fire NewWindow3(\"http://elsewhere/ad.htm\") = 0x00000000, cancel true"));
    EXPECT_FALSE(log.Contains(L"window opened"));
    connection.Disconnect();
    EXPECT_EQ(0u, sink->Release());
}

// Without the sink the same page does open a window: what the test above
// rules out is real.
TEST_F(WebBrowserSinkTest, PageOpensAWindowWhenNobodyRefuses)
{
    const int before = VisibleTopLevelWindows();
    LoadPage();
    // (No sink: the events reach nobody, S_FALSE.)
    EXPECT_TRUE(log.Contains(L"fire NewWindow3(\"http://elsewhere/ad.htm\") = 0x00000001, cancel false"));
    EXPECT_TRUE(log.Contains(L"window opened \"http://elsewhere/ad.htm\""));
    EXPECT_EQ(before + 1, VisibleTopLevelWindows());
}

}  // namespace
