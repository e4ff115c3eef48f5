#pragma once
#include "hostapi/WebBrowserInterfaces.h"
#include "standins/controls/DualControl.h"
#include "standins/webbrowser/PageText.h"

#include <optional>
#include <string>

namespace standin {

// The stand-in WebBrowser control, registered over the WebBrowser CLSID in
// the test prefix (Wine's own HTML engine stays disabled). Always windowed.
// What it implements:
// - IWebBrowser2 in its published order; Navigate2 (and Navigate) with the
//   URL as VT_BSTR or by reference; members no host calls answer E_NOTIMPL;
// - DWebBrowserEvents2 through a connection point: Navigate2 fires
//   BeforeNavigate2 at once (URL, flags, frame, post data and headers as
//   VT_BYREF | VT_VARIANT, cancel as VT_BYREF | VT_BOOL) and stops when the
//   sink sets cancel; on the next clock tick it loads the page through the
//   site's bind host (SiteBinding; a file path without one) and fires
//   DownloadBegin, DownloadComplete, TitleChange (when the page has a
//   title), NavigateComplete2 and DocumentComplete, or NavigateError (with
//   the failure as status code and a cancel flag) when the page could not be
//   loaded;
// - the document-host questions: GetHostInfo when it goes in place, and
//   ShowContextMenu on WM_CONTEXTMENU of its window (the menu itself is not
//   shown: a modal menu would stop the host's thread).
// It paints the page's background colour and its text (PageText).
//
// Log lines, after "browser": "IWebBrowser2.<member>(<arguments>)",
// "fire <event>(<arguments>) = 0x...", with ", cancel <true|false>" for the
// events that carry one; "page loaded <title>"; "host GetHostInfo = 0x...
// flags=0x... doubleclick=<n>"; "host ShowContextMenu(<id>) = 0x..."; and
// OleControl's lines.
class WebBrowserControl final : public DualControl<IWebBrowser2> {
public:
    WebBrowserControl();

    // IDispatch
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* exception, UINT* argumentError) override;

    // IWebBrowser2 and its bases
    HRESULT STDMETHODCALLTYPE GoBack() override;
    HRESULT STDMETHODCALLTYPE GoForward() override;
    HRESULT STDMETHODCALLTYPE GoHome() override;
    HRESULT STDMETHODCALLTYPE GoSearch() override;
    HRESULT STDMETHODCALLTYPE Navigate(BSTR URL, VARIANT *Flags, VARIANT *TargetFrameName, VARIANT *PostData, VARIANT *Headers) override;
    HRESULT STDMETHODCALLTYPE Refresh() override;
    HRESULT STDMETHODCALLTYPE Refresh2(VARIANT *Level) override;
    HRESULT STDMETHODCALLTYPE Stop() override;
    HRESULT STDMETHODCALLTYPE get_Application(IDispatch **ppDisp) override;
    HRESULT STDMETHODCALLTYPE get_Parent(IDispatch **ppDisp) override;
    HRESULT STDMETHODCALLTYPE get_Container(IDispatch **ppDisp) override;
    HRESULT STDMETHODCALLTYPE get_Document(IDispatch **ppDisp) override;
    HRESULT STDMETHODCALLTYPE get_TopLevelContainer(VARIANT_BOOL *pBool) override;
    HRESULT STDMETHODCALLTYPE get_Type(BSTR *Type) override;
    HRESULT STDMETHODCALLTYPE get_Left(LONG *pl) override;
    HRESULT STDMETHODCALLTYPE put_Left(LONG Left) override;
    HRESULT STDMETHODCALLTYPE get_Top(LONG *pl) override;
    HRESULT STDMETHODCALLTYPE put_Top(LONG Top) override;
    HRESULT STDMETHODCALLTYPE get_Width(LONG *pl) override;
    HRESULT STDMETHODCALLTYPE put_Width(LONG Width) override;
    HRESULT STDMETHODCALLTYPE get_Height(LONG *pl) override;
    HRESULT STDMETHODCALLTYPE put_Height(LONG Height) override;
    HRESULT STDMETHODCALLTYPE get_LocationName(BSTR *LocationName) override;
    HRESULT STDMETHODCALLTYPE get_LocationURL(BSTR *LocationURL) override;
    HRESULT STDMETHODCALLTYPE get_Busy(VARIANT_BOOL *pBool) override;
    HRESULT STDMETHODCALLTYPE Quit() override;
    HRESULT STDMETHODCALLTYPE ClientToWindow(int *pcx, int *pcy) override;
    HRESULT STDMETHODCALLTYPE PutProperty(BSTR Property, VARIANT vtValue) override;
    HRESULT STDMETHODCALLTYPE GetProperty(BSTR Property, VARIANT *pvtValue) override;
    HRESULT STDMETHODCALLTYPE get_Name(BSTR *Name) override;
    HRESULT STDMETHODCALLTYPE get_HWND(SHANDLE_PTR *pHWND) override;
    HRESULT STDMETHODCALLTYPE get_FullName(BSTR *FullName) override;
    HRESULT STDMETHODCALLTYPE get_Path(BSTR *Path) override;
    HRESULT STDMETHODCALLTYPE get_Visible(VARIANT_BOOL *pBool) override;
    HRESULT STDMETHODCALLTYPE put_Visible(VARIANT_BOOL Value) override;
    HRESULT STDMETHODCALLTYPE get_StatusBar(VARIANT_BOOL *pBool) override;
    HRESULT STDMETHODCALLTYPE put_StatusBar(VARIANT_BOOL Value) override;
    HRESULT STDMETHODCALLTYPE get_StatusText(BSTR *StatusText) override;
    HRESULT STDMETHODCALLTYPE put_StatusText(BSTR StatusText) override;
    HRESULT STDMETHODCALLTYPE get_ToolBar(int *Value) override;
    HRESULT STDMETHODCALLTYPE put_ToolBar(int Value) override;
    HRESULT STDMETHODCALLTYPE get_MenuBar(VARIANT_BOOL *Value) override;
    HRESULT STDMETHODCALLTYPE put_MenuBar(VARIANT_BOOL Value) override;
    HRESULT STDMETHODCALLTYPE get_FullScreen(VARIANT_BOOL *pbFullScreen) override;
    HRESULT STDMETHODCALLTYPE put_FullScreen(VARIANT_BOOL bFullScreen) override;
    HRESULT STDMETHODCALLTYPE Navigate2(VARIANT *URL, VARIANT *Flags, VARIANT *TargetFrameName, VARIANT *PostData, VARIANT *Headers) override;
    HRESULT STDMETHODCALLTYPE QueryStatusWB(OLECMDID cmdID, OLECMDF *pcmdf) override;
    HRESULT STDMETHODCALLTYPE ExecWB(OLECMDID cmdID, OLECMDEXECOPT cmdexecopt, VARIANT *pvaIn, VARIANT *pvaOut) override;
    HRESULT STDMETHODCALLTYPE ShowBrowserBar(VARIANT *pvaClsid, VARIANT *pvarShow, VARIANT *pvarSize) override;
    HRESULT STDMETHODCALLTYPE get_ReadyState(READYSTATE *plReadyState) override;
    HRESULT STDMETHODCALLTYPE get_Offline(VARIANT_BOOL *pbOffline) override;
    HRESULT STDMETHODCALLTYPE put_Offline(VARIANT_BOOL bOffline) override;
    HRESULT STDMETHODCALLTYPE get_Silent(VARIANT_BOOL *pbSilent) override;
    HRESULT STDMETHODCALLTYPE put_Silent(VARIANT_BOOL bSilent) override;
    HRESULT STDMETHODCALLTYPE get_RegisterAsBrowser(VARIANT_BOOL *pbRegister) override;
    HRESULT STDMETHODCALLTYPE put_RegisterAsBrowser(VARIANT_BOOL bRegister) override;
    HRESULT STDMETHODCALLTYPE get_RegisterAsDropTarget(VARIANT_BOOL *pbRegister) override;
    HRESULT STDMETHODCALLTYPE put_RegisterAsDropTarget(VARIANT_BOOL bRegister) override;
    HRESULT STDMETHODCALLTYPE get_TheaterMode(VARIANT_BOOL *pbRegister) override;
    HRESULT STDMETHODCALLTYPE put_TheaterMode(VARIANT_BOOL bRegister) override;
    HRESULT STDMETHODCALLTYPE get_AddressBar(VARIANT_BOOL *Value) override;
    HRESULT STDMETHODCALLTYPE put_AddressBar(VARIANT_BOOL Value) override;
    HRESULT STDMETHODCALLTYPE get_Resizable(VARIANT_BOOL *Value) override;
    HRESULT STDMETHODCALLTYPE put_Resizable(VARIANT_BOOL Value) override;
protected:
    void* QueryOwn(REFIID iid) override;
    std::vector<std::wstring> BagNames() const override;
    void ApplyProperty(const std::wstring& name, const std::wstring& value) override;
    void Paint(HDC dc, const RECT& bounds, bool transparent) override;
    void OnActivated() override;
    void OnTick() override;
    LRESULT OnChildMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

private:
    ~WebBrowserControl() override;

    HRESULT NotImplemented(const wchar_t* member);
    HRESULT StartNavigation(const std::wstring& url);
    void OnPage(unsigned generation, const std::wstring& url, HRESULT hr, const std::string& bytes);
    HRESULT FireSimple(const wchar_t* name, DISPID id, std::vector<VARIANT> arguments);
    HRESULT FireWithUrl(const wchar_t* name, DISPID id, const std::wstring& url);
    // Asks the container (NewWindow2, then NewWindow3) and opens a top-level
    // window of its own for the page unless one of them cancels.
    void OpenRequestedWindow(const std::wstring& url);
    IDocHostUIHandler* HostHandler() const;

    std::wstring m_location;
    std::optional<std::wstring> m_pending;
    std::optional<PageText> m_page;
    unsigned m_generation = 0;
    bool m_busy = false;
    bool m_visible = true;
    std::vector<HWND> m_popups;
};

}  // namespace standin
