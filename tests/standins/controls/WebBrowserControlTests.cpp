#include "fixtures/ComScope.h"
#include "fixtures/Fixtures.h"
#include "hostapi/WebBrowserInterfaces.h"
#include "tests/standins/controlsupport/AtlAxHost.h"
#include "tests/standins/controlsupport/ControlLogFile.h"
#include "tests/standins/controlsupport/ControlRegistration.h"
#include "tests/standins/controlsupport/EventConnection.h"
#include "tests/standins/controlsupport/HostWindow.h"
#include "tests/standins/controlsupport/TestBindHost.h"
#include "tests/standins/controlsupport/TestControlSite.h"
#include "tests/standins/controlsupport/TextFile.h"
#include "StandInTestSupport.h"
#include "standins/webbrowser/PageText.h"

#include <gtest/gtest.h>

namespace {

const wchar_t kWebBrowserClsid[] = L"{8856F961-340A-11D0-A96B-00C04FD705A2}";
const wchar_t kPageName[] = L"C:\\Vistello.9EA84E08259647B1995FC2CEB15B7423\\pack\\resources\\page.htm";
const wchar_t kMissingName[] = L"C:\\Vistello.9EA84E08259647B1995FC2CEB15B7423\\pack\\resources\\gone.htm";

HRESULT Navigate(IWebBrowser2* browser, const std::wstring& url)
{
    VARIANT target;
    target.vt = VT_BSTR;
    target.bstrVal = SysAllocString(url.c_str());
    VARIANT missing;
    missing.vt = VT_ERROR;
    missing.scode = DISP_E_PARAMNOTFOUND;
    HRESULT hr = browser->Navigate2(&target, &missing, &missing, &missing, &missing);
    VariantClear(&target);
    return hr;
}

// Whether each by-reference argument of a navigation event has the form the
// event promises: VT_BYREF | VT_VARIANT for the texts and numbers, VT_BYREF |
// VT_BOOL for cancel.
bool ByReferenceForm(DISPPARAMS* params, std::initializer_list<VARTYPE> declared)
{
    if (params->cArgs != declared.size())
        return false;
    UINT index = params->cArgs;
    for (VARTYPE type : declared) {
        if (params->rgvarg[--index].vt != type)
            return false;
    }
    return true;
}

TEST(PageText, ReadsTitleBackgroundAndText)
{
    standin::PageText page = standin::PageText::Parse(
        "<html><head><title>A &amp; B</title></head>\n<BODY bgcolor=\"#102030\"><p>Hello,\n  <b>world</b> &lt;3</p>"
        "</body></html>");
    EXPECT_EQ(L"A & B", page.title);
    EXPECT_EQ(0x102030u, page.background);
    EXPECT_EQ(L"Hello, world <3", page.text);
    standin::PageText plain = standin::PageText::Parse("just text & more");
    EXPECT_EQ(L"", plain.title);
    EXPECT_EQ(0xFFFFFFu, plain.background);
    EXPECT_EQ(L"just text & more", plain.text);
    EXPECT_EQ(0xFFFFFFu, standin::PageText::Parse("<body bgcolor=\"red\">x").background);
}

TEST(WebBrowserControl, TakesOverTheClassAndGivesItBack)
{
    ComScope com;
    std::wstring before = RegisteredServerPath(CLSID_WebBrowserControl);
    {
        ControlRegistration registration(StandInControl::WebBrowser);
        ASSERT_TRUE(registration.Registered());
        EXPECT_EQ(registration.Path(), RegisteredServerPath(CLSID_WebBrowserControl));
        IWebBrowser2* browser = nullptr;
        ASSERT_EQ(S_OK, CoCreateInstance(CLSID_WebBrowserControl, nullptr, CLSCTX_INPROC_SERVER, IID_IWebBrowser2,
                                         reinterpret_cast<void**>(&browser)));
        browser->Release();
    }
    EXPECT_EQ(before, RegisteredServerPath(CLSID_WebBrowserControl));
}

TEST(WebBrowserControl, PaintsAPageInWinesAtlContainer)
{
    ComScope com;
    ControlRegistration registration(StandInControl::WebBrowser);
    ControlLogFile log;
    ScratchFolder folder;
    std::wstring page = folder.File(L"page.htm");
    ASSERT_TRUE(WriteTextFile(page, "<html><body bgcolor=\"#20C040\">HELLO HELLO HELLO</body></html>"));

    AtlAxHost host(kWebBrowserClsid, 160, 120);
    IUnknown* control = host.Control();
    ASSERT_NE(nullptr, control);
    IWebBrowser2* browser = nullptr;
    ASSERT_EQ(S_OK, control->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&browser)));
    EXPECT_EQ(S_OK, Navigate(browser, page));
    ASSERT_TRUE(PumpUntil([&] { return log.Contains(L"fire DocumentComplete"); }));

    EXPECT_EQ(RGB(0x20, 0xC0, 0x40), host.Pixel(150, 110));
    int textPixels = 0;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 100; ++x)
            textPixels += host.Pixel(x, y) == RGB(0, 0, 0);
    }
    EXPECT_GT(textPixels, 20);
    browser->Release();
    control->Release();
}

// What the WebBrowser node does with the control, through a site with a bind
// host: host information at activation, a navigation under the virtual root
// with its events (by-reference arguments, cancel left false), one cancelled
// by the sink, one that fails, and a right click.
TEST(WebBrowserControl, NavigationRunMatchesTheGoldenLog)
{
    ComScope com;
    ControlRegistration registration(StandInControl::WebBrowser);
    ControlLogFile log;
    TestBindHost* bindHost = new TestBindHost();
    const std::string html = "<html><head><title>Slide</title></head><body>Text</body></html>";
    bindHost->Serve(kPageName, html);
    HostWindow window(160, 120);
    TestControlSite* site = new TestControlSite(window.Get(), RECT{0, 0, 160, 120}, true, bindHost);
    IOleObject* control = nullptr;
    ASSERT_EQ(S_OK, site->Create(CLSID_WebBrowserControl, nullptr, &control));
    IWebBrowser2* browser = nullptr;
    ASSERT_EQ(S_OK, control->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&browser)));

    EventRecorder events;
    bool cancelNext = false;
    bool argumentsWellFormed = true;
    events.onEvent = [&](DISPID id, DISPPARAMS* params) {
        const VARTYPE text = VT_BYREF | VT_VARIANT;
        if (id == DISPID_BEFORENAVIGATE2) {
            argumentsWellFormed &= ByReferenceForm(params, {VT_DISPATCH, text, text, text, text, text, VT_BYREF | VT_BOOL});
            *params->rgvarg[0].pboolVal = cancelNext ? VARIANT_TRUE : VARIANT_FALSE;
        } else if (id == DISPID_NAVIGATECOMPLETE2 || id == DISPID_DOCUMENTCOMPLETE) {
            argumentsWellFormed &= ByReferenceForm(params, {VT_DISPATCH, text});
        } else if (id == DISPID_NAVIGATEERROR) {
            argumentsWellFormed &= ByReferenceForm(params, {VT_DISPATCH, text, text, text, VT_BYREF | VT_BOOL});
        }
    };
    EventConnection connection(control, DIID_DWebBrowserEvents2, static_cast<IDispatch*>(&events));
    ASSERT_TRUE(connection.Connected());

    EXPECT_EQ(S_OK, Navigate(browser, kPageName));
    ASSERT_TRUE(PumpUntil([&] { return log.Contains(L"fire DocumentComplete"); }));
    cancelNext = true;
    EXPECT_EQ(S_OK, Navigate(browser, L"C:\\elsewhere.htm"));
    cancelNext = false;
    EXPECT_EQ(S_OK, Navigate(browser, kMissingName));
    ASSERT_TRUE(PumpUntil([&] { return log.Contains(L"fire NavigateError"); }));
    EXPECT_TRUE(argumentsWellFormed);

    HWND child = nullptr;
    IOleWindow* oleWindow = nullptr;
    ASSERT_EQ(S_OK, control->QueryInterface(IID_IOleWindow, reinterpret_cast<void**>(&oleWindow)));
    ASSERT_EQ(S_OK, oleWindow->GetWindow(&child));
    oleWindow->Release();
    SendMessageW(child, WM_RBUTTONUP, 0, MAKELPARAM(10, 20));
    BSTR location = nullptr;
    EXPECT_EQ(S_OK, browser->get_LocationURL(&location));
    EXPECT_STREQ(kPageName, location);
    SysFreeString(location);

    connection.Disconnect();
    browser->Release();
    TestControlSite::Destroy(control);
    control->Release();

    const std::wstring page = L"\"C:\\\\Vistello.9EA84E08259647B1995FC2CEB15B7423\\\\pack\\\\resources\\\\page.htm\"";
    const std::wstring gone = L"\"C:\\\\Vistello.9EA84E08259647B1995FC2CEB15B7423\\\\pack\\\\resources\\\\gone.htm\"";
    const std::vector<std::wstring> golden = {
        L"browser IOleObject.SetClientSite(site)",
        L"browser IOleObject.DoVerb(-5)",
        L"browser host in place windowed at 0,0,160,120",
        L"browser host GetHostInfo = 0x00000000 flags=0x00240090 doubleclick=0",
        L"browser IConnectionPointContainer.FindConnectionPoint({34A715A0-6587-11D0-924A-0020AFC7AC4D}) = 0x00000000",
        L"browser IConnectionPoint.Advise(DWebBrowserEvents2) = 1",
        L"browser IWebBrowser2.Navigate2(" + page + L", missing, missing, missing, missing)",
        L"browser fire BeforeNavigate2(" + page + L") = 0x00000000, cancel false",
        L"browser fire DownloadBegin = 0x00000000",
        L"browser host QueryService(SID_IBindHost) = 0x00000000",
        L"browser host CreateMoniker(" + page + L") = 0x00000000",
        L"browser bind OnStartBinding",
        L"browser bind OnDataAvailable(5, " + std::to_wstring(html.size()) + L")",
        L"browser bind OnStopBinding(0x00000001)",
        L"browser fire DownloadComplete = 0x00000000",
        L"browser page loaded \"Slide\"",
        L"browser fire TitleChange = 0x00000000",
        L"browser fire NavigateComplete2(" + page + L") = 0x00000000",
        L"browser fire DocumentComplete(" + page + L") = 0x00000000",
        L"browser host MonikerBindToStorage = 0x00000000",
        L"browser IWebBrowser2.Navigate2(\"C:\\\\elsewhere.htm\", missing, missing, missing, missing)",
        L"browser fire BeforeNavigate2(\"C:\\\\elsewhere.htm\") = 0x00000000, cancel true",
        L"browser navigation cancelled",
        L"browser IWebBrowser2.Navigate2(" + gone + L", missing, missing, missing, missing)",
        L"browser fire BeforeNavigate2(" + gone + L") = 0x00000000, cancel false",
        L"browser fire DownloadBegin = 0x00000000",
        L"browser host QueryService(SID_IBindHost) = 0x00000000",
        L"browser host CreateMoniker(" + gone + L") = 0x00000000",
        L"browser host MonikerBindToStorage = 0x80004005",
        L"browser fire DownloadComplete = 0x00000000",
        L"browser fire NavigateError(" + gone + L", 0x80004005) = 0x00000000, cancel false",
        L"browser IOleInPlaceObject.GetWindow",
        L"browser window WM_RBUTTONUP(10,20)",
        L"browser host ShowContextMenu(0) = 0x00000001, own menu",
        L"browser IWebBrowser2.get_LocationURL",
        L"browser IConnectionPoint.Unadvise(DWebBrowserEvents2, 1)",
        L"browser IOleInPlaceObject.InPlaceDeactivate",
        L"browser IOleObject.Close(1)",
        L"browser IOleObject.SetClientSite(null)",
        L"browser released",
    };
    EXPECT_EQ(golden, log.Lines({L"IViewObject.Draw"}));
    EXPECT_EQ((std::vector<std::wstring>{L"GetHostInfo", L"ShowContextMenu(0)"}), site->questions);
    site->Release();
    bindHost->Release();
}

}  // namespace
