#pragma once
#include "base/MKTArray.h"

#include <mshtmhst.h>
#include <ocidl.h>
#include <stdint.h>
#include <windows.h>

class ControlPropertyBag;
class ControlSiteOwner;
class SitePropertyNotifySink;
class SiteUIWindow;

// The one container object of a hosted ActiveX control: client site,
// windowless in-place site, in-place frame, control site, service provider,
// advise sink, document host UI handler and ambient-property dispatch. It
// creates, loads, places and tears down the control and answers the OLE
// protocol with fixed values; every question about the content goes to the
// owner (ControlSiteOwner), which must outlive the control.
//
// QueryInterface refuses IOleClientSite and IAdviseSink: the control gets
// those two only through SetClientSite, Advise and SetAdvise.
//
// Ownership: made with a count of 0; the owner's code takes one reference and
// keeps it for the site's life. While the control is in place the site holds
// a reference on itself through its frame. One thread, the host's; only the
// reference count is locked.
class ControlSite : public IDispatch,
                    public IOleClientSite,
                    public IStorage,
                    public IAdviseSink,
                    public IOleInPlaceSiteWindowless,
                    public IOleInPlaceFrame,
                    public IOleControlSite,
                    public IServiceProvider,
                    public IDocHostUIHandler2 {
public:
    explicit ControlSite(ControlSiteOwner* owner);
    ControlSite(const ControlSite&) = delete;
    ControlSite& operator=(const ControlSite&) = delete;

    // Creates the control of the owner's CLSID and wires it to the site; S_OK
    // at once when a control exists. What was obtained before a failure stays
    // held until DestroyControl.
    HRESULT CreateControl();
    // The control's own answer to loading the bag; E_FAIL without control or
    // bag.
    HRESULT LoadProperties(ControlPropertyBag* bag);
    // Stores the position (pixels in the window that shows the control) and
    // tells the control its new extent and, in place, its rectangles.
    void SetObjectRect(const RECT& rect);
    HRESULT InPlaceActivate(const RECT& rect);
    // Advises `sink` on the control's connection point for `iid`.
    HRESULT Connect(REFIID iid, IUnknown* sink);
    void DestroyControl();

    bool IsInPlaceActive() const { return m_inPlaceActive; }
    bool HasControl() const { return m_control != nullptr; }
    const RECT& GetPosition() const { return m_position; }
    // Not referenced for the caller.
    IViewObject* GetViewObject() const;
    IOleObject* GetOleObject() const { return m_oleObject; }

    // HIMETRIC units of `pixels` at `dpi` dots per inch, rounded to nearest.
    static int PixelsToHimetric(int pixels, int dpi);

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IDispatch: ambient properties.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;

    // IOleClientSite
    HRESULT STDMETHODCALLTYPE SaveObject() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) override;
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** container) override;
    HRESULT STDMETHODCALLTYPE ShowObject() override;
    HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL show) override;
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IStorage: nothing is stored.
    HRESULT STDMETHODCALLTYPE CreateStream(const OLECHAR*, DWORD, DWORD, DWORD, IStream**) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE OpenStream(const OLECHAR*, void*, DWORD, DWORD, IStream**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateStorage(const OLECHAR*, DWORD, DWORD, DWORD, IStorage**) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE OpenStorage(const OLECHAR*, IStorage*, DWORD, SNB, DWORD, IStorage**) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE CopyTo(DWORD, const IID*, SNB, IStorage*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE MoveElementTo(const OLECHAR*, IStorage*, const OLECHAR*, DWORD) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Commit(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Revert() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumElements(DWORD, void*, DWORD, IEnumSTATSTG**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DestroyElement(const OLECHAR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RenameElement(const OLECHAR*, const OLECHAR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetElementTimes(const OLECHAR*, const FILETIME*, const FILETIME*,
                                              const FILETIME*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetClass(REFCLSID) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetStateBits(DWORD, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Stat(STATSTG*, DWORD) override { return E_NOTIMPL; }

    // IAdviseSink
    void STDMETHODCALLTYPE OnDataChange(FORMATETC*, STGMEDIUM*) override { }
    void STDMETHODCALLTYPE OnViewChange(DWORD aspect, LONG index) override;
    void STDMETHODCALLTYPE OnRename(IMoniker*) override { }
    void STDMETHODCALLTYPE OnSave() override;
    void STDMETHODCALLTYPE OnClose() override { }

    // IOleWindow (of the in-place site and of the frame)
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IOleInPlaceSite, IOleInPlaceSiteEx, IOleInPlaceSiteWindowless
    HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override;
    HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override;
    HRESULT STDMETHODCALLTYPE OnUIActivate() override;
    HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                               LPRECT position, LPRECT clip, LPOLEINPLACEFRAMEINFO info) override;
    HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL undoable) override;
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override;
    HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnInPlaceActivateEx(BOOL* noRedraw, DWORD flags) override;
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivateEx(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RequestUIActivate() override;
    HRESULT STDMETHODCALLTYPE CanWindowlessActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetCapture() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetCapture(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetFocus() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetFocus(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDC(LPCRECT rect, DWORD flags, HDC* dc) override;
    HRESULT STDMETHODCALLTYPE ReleaseDC(HDC dc) override;
    HRESULT STDMETHODCALLTYPE InvalidateRect(LPCRECT rect, BOOL erase) override;
    HRESULT STDMETHODCALLTYPE InvalidateRgn(HRGN, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ScrollRect(INT, INT, LPCRECT, LPCRECT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AdjustRect(LPRECT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnDefWindowMessage(UINT, WPARAM, LPARAM, LRESULT*) override { return E_NOTIMPL; }

    // IOleInPlaceUIWindow, IOleInPlaceFrame
    HRESULT STDMETHODCALLTYPE GetBorder(LPRECT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR name) override;
    HRESULT STDMETHODCALLTYPE InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetMenu(HMENU shared, HOLEMENU descriptor, HWND activeObject) override;
    HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR text) override;
    // Also IDocHostUIHandler's.
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, WORD) override { return E_NOTIMPL; }

    // IOleControlSite
    HRESULT STDMETHODCALLTYPE OnControlInfoChanged() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LockInPlaceActive(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetExtendedControl(IDispatch**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE TransformCoords(POINTL*, POINTF*, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG*, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnFocus(BOOL gained) override;
    HRESULT STDMETHODCALLTYPE ShowPropertyFrame() override { return E_NOTIMPL; }

    // IServiceProvider
    HRESULT STDMETHODCALLTYPE QueryService(REFGUID service, REFIID iid, void** object) override;

    // IDocHostUIHandler, IDocHostUIHandler2
    HRESULT STDMETHODCALLTYPE ShowContextMenu(DWORD id, POINT* point, IUnknown* commandTarget,
                                              IDispatch* object) override;
    HRESULT STDMETHODCALLTYPE GetHostInfo(DOCHOSTUIINFO* info) override;
    HRESULT STDMETHODCALLTYPE ShowUI(DWORD id, IOleInPlaceActiveObject* active, IOleCommandTarget* commandTarget,
                                     IOleInPlaceFrame* frame, IOleInPlaceUIWindow* document) override;
    HRESULT STDMETHODCALLTYPE HideUI() override;
    HRESULT STDMETHODCALLTYPE UpdateUI() override;
    HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, const GUID*, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetOptionKeyPath(LPOLESTR*, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDropTarget(IDropTarget*, IDropTarget**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetExternal(IDispatch**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE TranslateUrl(DWORD, LPWSTR, LPWSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE FilterDataObject(IDataObject*, IDataObject**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetOverrideKeyPath(LPOLESTR* key, DWORD reserved) override;

    ControlSiteOwner* GetOwner() const { return m_owner; }

protected:
    virtual ~ControlSite();

private:
    struct Connection {
        IConnectionPoint* point;
        DWORD cookie;
    };

    void DisconnectAll();
    void TearDown();
    void BalanceComInit();

    LONG m_refs = 0;
    ControlSiteOwner* const m_owner;
    IUnknown* m_control = nullptr;
    IOleObject* m_oleObject = nullptr;
    IViewObjectEx* m_viewObjectEx = nullptr;
    IViewObject* m_viewObject = nullptr;
    IOleInPlaceObjectWindowless* m_windowless = nullptr;
    IOleInPlaceObject* m_inPlaceObject = nullptr;
    IOleInPlaceActiveObject* m_activeObject = nullptr;
    IConnectionPointContainer* m_connectionPoints = nullptr;
    MKTArray<Connection> m_connections;
    DWORD m_adviseCookie = 0;
    bool m_inPlaceActive = false;
    IOleInPlaceFrame* m_frame = nullptr;
    SiteUIWindow* m_uiWindow = nullptr;
    RECT m_position = {};
    int m_positionChangeDepth = 0;
    SitePropertyNotifySink* m_propertyNotify = nullptr;
    // CreateControl's CoInitialize succeeded and awaits its CoUninitialize.
    bool m_comInitialized = false;
    const bool m_userMode = true;
    const bool m_uiDead = false;
    const int32_t m_appearance = 0;
    const int32_t m_backColor = 0;
};
