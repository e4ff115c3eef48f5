#pragma once
#include "hostapi/WebBrowserInterfaces.h"

#include <windows.h>
#include <ocidl.h>
#include <urlmon.h>
#include <string>
#include <vector>

// A control container of our own for tests of the stand-in controls, for
// what the containers Wine has cannot show (a bind host, ambient properties,
// document-host answers): client site, in-place site (windowless when
// allowed), service provider (SID_IBindHost answered by the given bind host,
// everything else refused), ambient IDispatch (UserMode true, UIDead false,
// BackColor 0, Appearance 0), advise sink and IDocHostUIHandler (host
// information with flags 0x240090; context menus and UI left to the control
// with S_FALSE). The document-host questions asked are kept in `questions`
// ("GetHostInfo", "ShowContextMenu(<id>)"). A windowless control's
// InvalidateRect invalidates the control's rectangle of the window. Made with
// one reference for its creator; the window must outlive the control.
class TestControlSite final : public IOleClientSite,
                              public IOleInPlaceSiteWindowless,
                              public IServiceProvider,
                              public IDispatch,
                              public IAdviseSink,
                              public IDocHostUIHandler {
public:
    TestControlSite(HWND window, const RECT& position, bool allowWindowless, IBindHost* bindHost);
    TestControlSite(const TestControlSite&) = delete;
    TestControlSite& operator=(const TestControlSite&) = delete;

    // Creates the control (CoCreateInstance), sets this site and activates it
    // in place after loading `properties` with IPersistPropertyBag2 when
    // given (nullptr: no Load). Answers the first failure.
    HRESULT Create(const CLSID& clsid, IPropertyBag2* properties, IOleObject** control);
    // The same for a control persisted in a stream: IPersistStreamInit::Load
    // (InitNew without a stream) before the activation.
    HRESULT CreateFromStream(const CLSID& clsid, IStream* stream, IOleObject** control);
    // What GetContainer answers (held until the site goes); without one it
    // answers E_NOINTERFACE.
    void SetContainer(IOleContainer* container);
    // InPlaceDeactivate, Close, SetClientSite(null).
    static void Destroy(IOleObject* control);

    bool Windowless() const { return m_windowless; }
    std::vector<std::wstring> questions;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&m_refs); }
    ULONG STDMETHODCALLTYPE Release() override;

    // IOleClientSite
    HRESULT STDMETHODCALLTYPE SaveObject() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** moniker) override;
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** container) override;
    HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleInPlaceSiteWindowless
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnUIActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                               LPRECT position, LPRECT clip, LPOLEINPLACEFRAMEINFO info) override;
    HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override;
    HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnInPlaceActivateEx(BOOL* noRedraw, DWORD flags) override;
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivateEx(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RequestUIActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE CanWindowlessActivate() override { return m_allowWindowless ? S_OK : S_FALSE; }
    HRESULT STDMETHODCALLTYPE GetCapture() override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE SetCapture(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetFocus() override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE SetFocus(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDC(LPCRECT, DWORD, HDC* dc) override;
    HRESULT STDMETHODCALLTYPE ReleaseDC(HDC dc) override;
    HRESULT STDMETHODCALLTYPE InvalidateRect(LPCRECT rect, BOOL erase) override;
    HRESULT STDMETHODCALLTYPE InvalidateRgn(HRGN, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ScrollRect(INT, INT, LPCRECT, LPCRECT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AdjustRect(LPRECT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnDefWindowMessage(UINT, WPARAM, LPARAM, LRESULT*) override { return S_FALSE; }

    // IServiceProvider
    HRESULT STDMETHODCALLTYPE QueryService(REFGUID service, REFIID iid, void** object) override;

    // IDispatch (ambient properties)
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                                     UINT*) override;

    // IAdviseSink
    void STDMETHODCALLTYPE OnDataChange(FORMATETC*, STGMEDIUM*) override {}
    void STDMETHODCALLTYPE OnViewChange(DWORD, LONG) override {}
    void STDMETHODCALLTYPE OnRename(IMoniker*) override {}
    void STDMETHODCALLTYPE OnSave() override {}
    void STDMETHODCALLTYPE OnClose() override {}

    // IDocHostUIHandler
    HRESULT STDMETHODCALLTYPE ShowContextMenu(DWORD id, POINT*, IUnknown*, IDispatch*) override;
    HRESULT STDMETHODCALLTYPE GetHostInfo(DOCHOSTUIINFO* info) override;
    HRESULT STDMETHODCALLTYPE ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                                     IOleInPlaceUIWindow*) override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE HideUI() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE UpdateUI() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, const GUID*, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetOptionKeyPath(LPOLESTR*, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDropTarget(IDropTarget*, IDropTarget**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetExternal(IDispatch** external) override;
    HRESULT STDMETHODCALLTYPE TranslateUrl(DWORD, LPWSTR, LPWSTR* out) override;
    HRESULT STDMETHODCALLTYPE FilterDataObject(IDataObject*, IDataObject**) override { return E_NOTIMPL; }

private:
    ~TestControlSite();

    LONG m_refs = 1;
    HWND m_window;
    RECT m_position;
    bool m_allowWindowless;
    bool m_windowless = false;
    IBindHost* m_bindHost;
    IOleContainer* m_container = nullptr;
};
