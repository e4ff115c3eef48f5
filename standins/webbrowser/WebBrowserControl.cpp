#include "standins/webbrowser/WebBrowserControl.h"

#include "standins/controls/BstrText.h"
#include "standins/controls/ColourFill.h"
#include "standins/controls/ControlLog.h"
#include "standins/controls/SiteBinding.h"

namespace standin {
namespace {

// The text of a URL argument: VT_BSTR, or a VT_VARIANT reference to one.
bool UrlText(const VARIANT* url, std::wstring& text)
{
    if (url && url->vt == (VT_BYREF | VT_VARIANT))
        url = url->pvarVal;
    if (!url || url->vt != VT_BSTR)
        return false;
    text = url->bstrVal ? url->bstrVal : L"";
    return true;
}

VARIANT Reference(VARIANT* target)
{
    VARIANT reference;
    reference.vt = VT_BYREF | VT_VARIANT;
    reference.pvarVal = target;
    return reference;
}

}  // namespace

WebBrowserControl::WebBrowserControl()
    : DualControl(L"browser", CLSID_WebBrowserControl, &DIID_DWebBrowserEvents2, L"DWebBrowserEvents2")
{
}

void* WebBrowserControl::QueryOwn(REFIID iid)
{
    if (iid == IID_IDispatch || iid == IID_IWebBrowser || iid == IID_IWebBrowserApp || iid == IID_IWebBrowser2)
        return static_cast<IWebBrowser2*>(this);
    return nullptr;
}

std::vector<std::wstring> WebBrowserControl::BagNames() const
{
    return {};
}

void WebBrowserControl::ApplyProperty(const std::wstring&, const std::wstring&)
{
}

HRESULT WebBrowserControl::NotImplemented(const wchar_t* member)
{
    Log(std::wstring(L"IWebBrowser2.") + member + L" = " + Hex(E_NOTIMPL));
    return E_NOTIMPL;
}

IDocHostUIHandler* WebBrowserControl::HostHandler() const
{
    IDocHostUIHandler* handler = nullptr;
    if (!ClientSite() ||
        FAILED(ClientSite()->QueryInterface(IID_IDocHostUIHandler, reinterpret_cast<void**>(&handler))))
        return nullptr;
    return handler;
}

void WebBrowserControl::OnActivated()
{
    IDocHostUIHandler* handler = HostHandler();
    if (!handler) {
        Log(L"host IDocHostUIHandler missing");
        return;
    }
    DOCHOSTUIINFO info = {sizeof(info)};
    HRESULT hr = handler->GetHostInfo(&info);
    handler->Release();
    wchar_t flags[16];
    swprintf(flags, 16, L"0x%08X", static_cast<unsigned>(info.dwFlags));
    Log(L"host GetHostInfo = " + Hex(hr) + L" flags=" + flags + L" doubleclick=" + std::to_wstring(info.dwDoubleClick));
}

LRESULT WebBrowserControl::OnChildMessage(UINT message, WPARAM, LPARAM lParam, bool& handled)
{
    handled = false;
    if (message != WM_CONTEXTMENU)
        return 0;
    handled = true;
    POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    IDocHostUIHandler* handler = HostHandler();
    HRESULT hr = handler ? handler->ShowContextMenu(CONTEXT_MENU_DEFAULT, &point, nullptr,
                                                    static_cast<IWebBrowser2*>(this))
                         : E_NOINTERFACE;
    if (handler)
        handler->Release();
    Log(L"host ShowContextMenu(" + std::to_wstring(CONTEXT_MENU_DEFAULT) + L") = " + Hex(hr) +
        (hr == S_OK ? L", menu left to the host" : L", own menu"));
    return 0;
}

// Navigation

HRESULT WebBrowserControl::StartNavigation(const std::wstring& url)
{
    VARIANT urlValue;
    urlValue.vt = VT_BSTR;
    urlValue.bstrVal = SysAllocString(url.c_str());
    VARIANT flags;
    flags.vt = VT_I4;
    flags.lVal = 0;
    VARIANT frame, postData, headers;
    VariantInit(&frame);
    VariantInit(&postData);
    VariantInit(&headers);
    VARIANT_BOOL cancel = VARIANT_FALSE;
    VARIANT browser;
    browser.vt = VT_DISPATCH;
    browser.pdispVal = static_cast<IWebBrowser2*>(this);
    VARIANT cancelReference;
    cancelReference.vt = VT_BYREF | VT_BOOL;
    cancelReference.pboolVal = &cancel;
    HRESULT hr = Events()->Fire(DISPID_BEFORENAVIGATE2, {browser, Reference(&urlValue), Reference(&flags),
                                                         Reference(&frame), Reference(&postData), Reference(&headers),
                                                         cancelReference});
    SysFreeString(urlValue.bstrVal);
    Log(L"fire BeforeNavigate2(" + Quote(url.c_str()) + L") = " + Hex(hr) + L", cancel " +
        (cancel ? L"true" : L"false"));
    if (cancel) {
        Log(L"navigation cancelled");
        return S_OK;
    }
    m_pending = url;
    m_busy = true;
    StartClock(10);
    return S_OK;
}

void WebBrowserControl::OnTick()
{
    StopClock();
    if (!m_pending)
        return;
    std::wstring url = *m_pending;
    m_pending.reset();
    unsigned generation = ++m_generation;
    FireSimple(L"DownloadBegin", DISPID_DOWNLOADBEGIN, {});
    // The browser makes its blank page itself; it never asks the host's
    // monikers for it (urlmon may not even know the scheme).
    if (_wcsicmp(url.c_str(), L"about:blank") == 0) {
        OnPage(generation, url, S_OK, std::string());
        return;
    }
    SiteBinding::Load(ClientSite(), url, static_cast<IOleObject*>(this), [this](const std::wstring& line) { Log(line); },
                      [this, generation, url](HRESULT hr, const std::string& bytes) {
                          OnPage(generation, url, hr, bytes);
                      });
}

void WebBrowserControl::OnPage(unsigned generation, const std::wstring& url, HRESULT hr, const std::string& bytes)
{
    if (generation != m_generation)
        return;
    m_busy = false;
    FireSimple(L"DownloadComplete", DISPID_DOWNLOADCOMPLETE, {});
    if (FAILED(hr)) {
        VARIANT urlValue;
        urlValue.vt = VT_BSTR;
        urlValue.bstrVal = SysAllocString(url.c_str());
        VARIANT frame, status;
        VariantInit(&frame);
        status.vt = VT_I4;
        status.lVal = hr;
        VARIANT_BOOL cancel = VARIANT_FALSE;
        VARIANT browser;
        browser.vt = VT_DISPATCH;
        browser.pdispVal = static_cast<IWebBrowser2*>(this);
        VARIANT cancelReference;
        cancelReference.vt = VT_BYREF | VT_BOOL;
        cancelReference.pboolVal = &cancel;
        HRESULT fired = Events()->Fire(DISPID_NAVIGATEERROR, {browser, Reference(&urlValue), Reference(&frame),
                                                              Reference(&status), cancelReference});
        SysFreeString(urlValue.bstrVal);
        Log(L"fire NavigateError(" + Quote(url.c_str()) + L", " + Hex(hr) + L") = " + Hex(fired) + L", cancel " +
            (cancel ? L"true" : L"false"));
        return;
    }
    m_page = PageText::Parse(bytes);
    m_location = url;
    Log(L"page loaded " + Quote(m_page->title.c_str()));
    if (!m_page->title.empty()) {
        VARIANT title;
        title.vt = VT_BSTR;
        title.bstrVal = SysAllocString(m_page->title.c_str());
        FireSimple(L"TitleChange", DISPID_TITLECHANGE, {title});
        SysFreeString(title.bstrVal);
    }
    FireWithUrl(L"NavigateComplete2", DISPID_NAVIGATECOMPLETE2, url);
    FireWithUrl(L"DocumentComplete", DISPID_DOCUMENTCOMPLETE, url);
    Invalidate();
    for (const std::wstring& popup : m_page->popups)
        OpenRequestedWindow(popup);
}

void WebBrowserControl::OpenRequestedWindow(const std::wstring& url)
{
    VARIANT_BOOL cancel = VARIANT_FALSE;
    IDispatch* window = nullptr;
    VARIANT windowReference;
    windowReference.vt = VT_BYREF | VT_DISPATCH;
    windowReference.ppdispVal = &window;
    VARIANT cancelReference;
    cancelReference.vt = VT_BYREF | VT_BOOL;
    cancelReference.pboolVal = &cancel;
    HRESULT hr = Events()->Fire(DISPID_NEWWINDOW2, {windowReference, cancelReference});
    Log(L"fire NewWindow2 = " + Hex(hr) + L", cancel " + (cancel ? L"true" : L"false"));
    if (!cancel) {
        VARIANT flags;
        flags.vt = VT_I4;
        flags.lVal = 0x6;  // NWMF_USERINITED | NWMF_FIRST
        VARIANT context;
        context.vt = VT_BSTR;
        context.bstrVal = SysAllocString(m_location.c_str());
        VARIANT address;
        address.vt = VT_BSTR;
        address.bstrVal = SysAllocString(url.c_str());
        hr = Events()->Fire(DISPID_NEWWINDOW3, {windowReference, cancelReference, flags, context, address});
        SysFreeString(context.bstrVal);
        SysFreeString(address.bstrVal);
        Log(L"fire NewWindow3(" + Quote(url.c_str()) + L") = " + Hex(hr) + L", cancel " +
            (cancel ? L"true" : L"false"));
    }
    if (window)
        window->Release();
    if (cancel)
        return;
    // What a browser does when nobody objects: the page in a window of its own.
    HWND popup = CreateWindowExW(0, L"STATIC", url.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 200, 150,
                                 nullptr, nullptr, nullptr, nullptr);
    if (popup)
        m_popups.push_back(popup);
    Log(L"window opened " + Quote(url.c_str()));
}

WebBrowserControl::~WebBrowserControl()
{
    for (HWND popup : m_popups)
        DestroyWindow(popup);
}

HRESULT WebBrowserControl::FireSimple(const wchar_t* name, DISPID id, std::vector<VARIANT> arguments)
{
    HRESULT hr = Events()->Fire(id, arguments);
    Log(std::wstring(L"fire ") + name + L" = " + Hex(hr));
    return hr;
}

HRESULT WebBrowserControl::FireWithUrl(const wchar_t* name, DISPID id, const std::wstring& url)
{
    VARIANT urlValue;
    urlValue.vt = VT_BSTR;
    urlValue.bstrVal = SysAllocString(url.c_str());
    VARIANT browser;
    browser.vt = VT_DISPATCH;
    browser.pdispVal = static_cast<IWebBrowser2*>(this);
    HRESULT hr = Events()->Fire(id, {browser, Reference(&urlValue)});
    SysFreeString(urlValue.bstrVal);
    Log(std::wstring(L"fire ") + name + L"(" + Quote(url.c_str()) + L") = " + Hex(hr));
    return hr;
}

void WebBrowserControl::Paint(HDC dc, const RECT& bounds, bool)
{
    uint32_t background = m_page ? m_page->background : 0xFFFFFF;
    FillArgb(dc, bounds, 0xFF000000 | background);
    if (!m_page || m_page->text.empty())
        return;
    RECT area = bounds;
    InflateRect(&area, -4, -4);
    int mode = SetBkMode(dc, TRANSPARENT);
    COLORREF colour = SetTextColor(dc, RGB(0, 0, 0));
    HGDIOBJ font = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    DrawTextW(dc, m_page->text.c_str(), static_cast<int>(m_page->text.size()), &area, DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, font);
    SetTextColor(dc, colour);
    SetBkMode(dc, mode);
}

// IDispatch

HRESULT WebBrowserControl::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*)
{
    Log(L"IDispatch.Invoke(" + std::to_wstring(id) + L") = " + Hex(DISP_E_MEMBERNOTFOUND));
    return DISP_E_MEMBERNOTFOUND;
}

// IWebBrowser2 members that hosts use

HRESULT WebBrowserControl::Navigate(BSTR url, VARIANT*, VARIANT*, VARIANT*, VARIANT*)
{
    Log(L"IWebBrowser2.Navigate(" + Quote(url) + L")");
    return StartNavigation(url ? url : L"");
}

HRESULT WebBrowserControl::Navigate2(VARIANT* url, VARIANT* flags, VARIANT* frame, VARIANT* postData, VARIANT* headers)
{
    std::wstring text;
    bool valid = UrlText(url, text);
    auto argument = [](VARIANT* value) { return value ? VariantText(*value) : std::wstring(L"null"); };
    Log(L"IWebBrowser2.Navigate2(" + (valid ? Quote(text.c_str()) : argument(url)) + L", " + argument(flags) + L", " +
        argument(frame) + L", " + argument(postData) + L", " + argument(headers) + L")");
    if (!valid)
        return E_INVALIDARG;
    return StartNavigation(text);
}

HRESULT WebBrowserControl::Stop()
{
    Log(L"IWebBrowser2.Stop");
    m_pending.reset();
    ++m_generation;
    m_busy = false;
    return S_OK;
}

HRESULT WebBrowserControl::Refresh()
{
    Log(L"IWebBrowser2.Refresh");
    return m_location.empty() ? S_OK : StartNavigation(m_location);
}

HRESULT WebBrowserControl::get_Document(IDispatch** document)
{
    Log(L"IWebBrowser2.get_Document");
    if (!document)
        return E_POINTER;
    *document = nullptr;
    return S_FALSE;
}

HRESULT WebBrowserControl::get_Type(BSTR* type)
{
    Log(L"IWebBrowser2.get_Type");
    return CopyToBstr(m_page ? L"HTML Document" : L"", type);
}

HRESULT WebBrowserControl::get_LocationName(BSTR* name)
{
    Log(L"IWebBrowser2.get_LocationName");
    return CopyToBstr(m_page ? m_page->title : L"", name);
}

HRESULT WebBrowserControl::get_LocationURL(BSTR* url)
{
    Log(L"IWebBrowser2.get_LocationURL");
    return CopyToBstr(m_location, url);
}

HRESULT WebBrowserControl::get_Busy(VARIANT_BOOL* busy)
{
    Log(L"IWebBrowser2.get_Busy");
    if (!busy)
        return E_POINTER;
    *busy = m_busy ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

HRESULT WebBrowserControl::get_HWND(SHANDLE_PTR* window)
{
    Log(L"IWebBrowser2.get_HWND");
    if (!window)
        return E_POINTER;
    *window = 0;
    return E_FAIL;
}

HRESULT WebBrowserControl::get_Visible(VARIANT_BOOL* visible)
{
    Log(L"IWebBrowser2.get_Visible");
    if (!visible)
        return E_POINTER;
    *visible = m_visible ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

HRESULT WebBrowserControl::put_Visible(VARIANT_BOOL visible)
{
    Log(std::wstring(L"IWebBrowser2.put_Visible(") + (visible ? L"true" : L"false") + L")");
    m_visible = visible != VARIANT_FALSE;
    return S_OK;
}

HRESULT WebBrowserControl::get_ReadyState(READYSTATE* state)
{
    Log(L"IWebBrowser2.get_ReadyState");
    if (!state)
        return E_POINTER;
    *state = m_busy ? READYSTATE_LOADING : m_page ? READYSTATE_COMPLETE : READYSTATE_UNINITIALIZED;
    return S_OK;
}

// IWebBrowser2 members no host calls

HRESULT WebBrowserControl::GoBack()
{
    return NotImplemented(L"GoBack");
}

HRESULT WebBrowserControl::GoForward()
{
    return NotImplemented(L"GoForward");
}

HRESULT WebBrowserControl::GoHome()
{
    return NotImplemented(L"GoHome");
}

HRESULT WebBrowserControl::GoSearch()
{
    return NotImplemented(L"GoSearch");
}

HRESULT WebBrowserControl::Refresh2(VARIANT*)
{
    return NotImplemented(L"Refresh2");
}

HRESULT WebBrowserControl::get_Application(IDispatch**)
{
    return NotImplemented(L"get_Application");
}

HRESULT WebBrowserControl::get_Parent(IDispatch**)
{
    return NotImplemented(L"get_Parent");
}

HRESULT WebBrowserControl::get_Container(IDispatch**)
{
    return NotImplemented(L"get_Container");
}

HRESULT WebBrowserControl::get_TopLevelContainer(VARIANT_BOOL*)
{
    return NotImplemented(L"get_TopLevelContainer");
}

HRESULT WebBrowserControl::get_Left(LONG*)
{
    return NotImplemented(L"get_Left");
}

HRESULT WebBrowserControl::put_Left(LONG)
{
    return NotImplemented(L"put_Left");
}

HRESULT WebBrowserControl::get_Top(LONG*)
{
    return NotImplemented(L"get_Top");
}

HRESULT WebBrowserControl::put_Top(LONG)
{
    return NotImplemented(L"put_Top");
}

HRESULT WebBrowserControl::get_Width(LONG*)
{
    return NotImplemented(L"get_Width");
}

HRESULT WebBrowserControl::put_Width(LONG)
{
    return NotImplemented(L"put_Width");
}

HRESULT WebBrowserControl::get_Height(LONG*)
{
    return NotImplemented(L"get_Height");
}

HRESULT WebBrowserControl::put_Height(LONG)
{
    return NotImplemented(L"put_Height");
}

HRESULT WebBrowserControl::Quit()
{
    return NotImplemented(L"Quit");
}

HRESULT WebBrowserControl::ClientToWindow(int*, int*)
{
    return NotImplemented(L"ClientToWindow");
}

HRESULT WebBrowserControl::PutProperty(BSTR, VARIANT)
{
    return NotImplemented(L"PutProperty");
}

HRESULT WebBrowserControl::GetProperty(BSTR, VARIANT*)
{
    return NotImplemented(L"GetProperty");
}

HRESULT WebBrowserControl::get_Name(BSTR*)
{
    return NotImplemented(L"get_Name");
}

HRESULT WebBrowserControl::get_FullName(BSTR*)
{
    return NotImplemented(L"get_FullName");
}

HRESULT WebBrowserControl::get_Path(BSTR*)
{
    return NotImplemented(L"get_Path");
}

HRESULT WebBrowserControl::get_StatusBar(VARIANT_BOOL*)
{
    return NotImplemented(L"get_StatusBar");
}

HRESULT WebBrowserControl::put_StatusBar(VARIANT_BOOL)
{
    return NotImplemented(L"put_StatusBar");
}

HRESULT WebBrowserControl::get_StatusText(BSTR*)
{
    return NotImplemented(L"get_StatusText");
}

HRESULT WebBrowserControl::put_StatusText(BSTR)
{
    return NotImplemented(L"put_StatusText");
}

HRESULT WebBrowserControl::get_ToolBar(int*)
{
    return NotImplemented(L"get_ToolBar");
}

HRESULT WebBrowserControl::put_ToolBar(int)
{
    return NotImplemented(L"put_ToolBar");
}

HRESULT WebBrowserControl::get_MenuBar(VARIANT_BOOL*)
{
    return NotImplemented(L"get_MenuBar");
}

HRESULT WebBrowserControl::put_MenuBar(VARIANT_BOOL)
{
    return NotImplemented(L"put_MenuBar");
}

HRESULT WebBrowserControl::get_FullScreen(VARIANT_BOOL*)
{
    return NotImplemented(L"get_FullScreen");
}

HRESULT WebBrowserControl::put_FullScreen(VARIANT_BOOL)
{
    return NotImplemented(L"put_FullScreen");
}

HRESULT WebBrowserControl::QueryStatusWB(OLECMDID, OLECMDF*)
{
    return NotImplemented(L"QueryStatusWB");
}

HRESULT WebBrowserControl::ExecWB(OLECMDID, OLECMDEXECOPT, VARIANT*, VARIANT*)
{
    return NotImplemented(L"ExecWB");
}

HRESULT WebBrowserControl::ShowBrowserBar(VARIANT*, VARIANT*, VARIANT*)
{
    return NotImplemented(L"ShowBrowserBar");
}

HRESULT WebBrowserControl::get_Offline(VARIANT_BOOL*)
{
    return NotImplemented(L"get_Offline");
}

HRESULT WebBrowserControl::put_Offline(VARIANT_BOOL)
{
    return NotImplemented(L"put_Offline");
}

HRESULT WebBrowserControl::get_Silent(VARIANT_BOOL*)
{
    return NotImplemented(L"get_Silent");
}

HRESULT WebBrowserControl::put_Silent(VARIANT_BOOL)
{
    return NotImplemented(L"put_Silent");
}

HRESULT WebBrowserControl::get_RegisterAsBrowser(VARIANT_BOOL*)
{
    return NotImplemented(L"get_RegisterAsBrowser");
}

HRESULT WebBrowserControl::put_RegisterAsBrowser(VARIANT_BOOL)
{
    return NotImplemented(L"put_RegisterAsBrowser");
}

HRESULT WebBrowserControl::get_RegisterAsDropTarget(VARIANT_BOOL*)
{
    return NotImplemented(L"get_RegisterAsDropTarget");
}

HRESULT WebBrowserControl::put_RegisterAsDropTarget(VARIANT_BOOL)
{
    return NotImplemented(L"put_RegisterAsDropTarget");
}

HRESULT WebBrowserControl::get_TheaterMode(VARIANT_BOOL*)
{
    return NotImplemented(L"get_TheaterMode");
}

HRESULT WebBrowserControl::put_TheaterMode(VARIANT_BOOL)
{
    return NotImplemented(L"put_TheaterMode");
}

HRESULT WebBrowserControl::get_AddressBar(VARIANT_BOOL*)
{
    return NotImplemented(L"get_AddressBar");
}

HRESULT WebBrowserControl::put_AddressBar(VARIANT_BOOL)
{
    return NotImplemented(L"put_AddressBar");
}

HRESULT WebBrowserControl::get_Resizable(VARIANT_BOOL*)
{
    return NotImplemented(L"get_Resizable");
}

HRESULT WebBrowserControl::put_Resizable(VARIANT_BOOL)
{
    return NotImplemented(L"put_Resizable");
}

}  // namespace standin
