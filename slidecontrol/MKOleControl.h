#pragma once
#include <windows.h>
#include <ocidl.h>
#include <oleidl.h>

// The embedding, in-place, view and data protocol of one windowed ActiveX
// control, for a derived class that draws (OnDraw), persists itself
// (IPersistStreamInit, which IPersistStorage uses for its "Contents" stream)
// and answers its own automation interface (QueryOwn). The control is never
// windowless: while in-place active it has a child window of the site's
// window, whose messages go to OnMessage. Aggregation is supported: the
// interfaces' IUnknown methods go to the controlling unknown, Inner() is the
// object's own.
//
// Apartment-threaded: every call comes from the thread that made the object.
// The client site, the in-place site and the advise holders are held with a
// reference until SetClientSite(null), Close or the object's end.
class MKOleControl : public IOleObject,
                     public IOleInPlaceObjectWindowless,
                     public IOleInPlaceActiveObject,
                     public IOleControl,
                     public IViewObjectEx,
                     public IPersistStreamInit,
                     public IPersistStorage,
                     public IDataObject,
                     public IQuickActivate,
                     public ISupportErrorInfo,
                     public ISpecifyPropertyPages,
                     public IProvideClassInfo2 {
public:
    MKOleControl(const MKOleControl&) = delete;
    MKOleControl& operator=(const MKOleControl&) = delete;

    // The object's own IUnknown, for the class factory and an aggregating
    // outer object. Its last Release deletes the object.
    IUnknown* Inner() { return &m_inner; }

    // IUnknown (to the controlling unknown)
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IOleObject
    HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* site) override;
    HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** site) override;
    HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Close(DWORD saveOption) override;
    HRESULT STDMETHODCALLTYPE SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** moniker) override;
    HRESULT STDMETHODCALLTYPE InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD, IDataObject** data) override;
    HRESULT STDMETHODCALLTYPE DoVerb(LONG verb, LPMSG message, IOleClientSite* site, LONG index, HWND parent,
                                     LPCRECT rect) override;
    HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB** verbs) override;
    HRESULT STDMETHODCALLTYPE Update() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE IsUpToDate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID* clsid) override;
    HRESULT STDMETHODCALLTYPE GetUserType(DWORD form, LPOLESTR* type) override;
    HRESULT STDMETHODCALLTYPE SetExtent(DWORD aspect, SIZEL* size) override;
    HRESULT STDMETHODCALLTYPE GetExtent(DWORD aspect, SIZEL* size) override;
    HRESULT STDMETHODCALLTYPE Advise(IAdviseSink* sink, DWORD* cookie) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
    HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA** advise) override;
    HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD aspect, DWORD* status) override;
    HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

    // IOleWindow, IOleInPlaceObject, IOleInPlaceObjectWindowless
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InPlaceDeactivate() override;
    HRESULT STDMETHODCALLTYPE UIDeactivate() override;
    HRESULT STDMETHODCALLTYPE SetObjectRects(LPCRECT position, LPCRECT clip) override;
    HRESULT STDMETHODCALLTYPE ReactivateAndUndo() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnWindowMessage(UINT, WPARAM, LPARAM, LRESULT*) override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE GetDropTarget(IDropTarget** target) override;

    // IOleInPlaceActiveObject
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG) override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }

    // IOleControl
    HRESULT STDMETHODCALLTYPE GetControlInfo(CONTROLINFO*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnMnemonic(MSG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnAmbientPropertyChange(DISPID) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE FreezeEvents(BOOL freeze) override;

    // IViewObject, IViewObject2, IViewObjectEx
    HRESULT STDMETHODCALLTYPE Draw(DWORD aspect, LONG index, void* aspectInfo, DVTARGETDEVICE* target,
                                   HDC targetInfo, HDC dc, LPCRECTL bounds, LPCRECTL metaBounds,
                                   BOOL(STDMETHODCALLTYPE* keepGoing)(ULONG_PTR), ULONG_PTR keepGoingArgument) override;
    HRESULT STDMETHODCALLTYPE GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE**) override;
    HRESULT STDMETHODCALLTYPE Freeze(DWORD, LONG, void*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Unfreeze(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) override;
    HRESULT STDMETHODCALLTYPE GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) override;
    HRESULT STDMETHODCALLTYPE GetExtent(DWORD aspect, LONG index, DVTARGETDEVICE* target, LPSIZEL size) override;
    HRESULT STDMETHODCALLTYPE GetRect(DWORD, LPRECTL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetViewStatus(DWORD* status) override;
    HRESULT STDMETHODCALLTYPE QueryHitPoint(DWORD aspect, LPCRECT bounds, POINT point, LONG, DWORD* result) override;
    HRESULT STDMETHODCALLTYPE QueryHitRect(DWORD aspect, LPCRECT bounds, LPCRECT rect, LONG, DWORD* result) override;
    HRESULT STDMETHODCALLTYPE GetNaturalExtent(DWORD, LONG, DVTARGETDEVICE*, HDC, DVEXTENTINFO*, LPSIZEL) override
    {
        return E_NOTIMPL;
    }

    // IPersist (the derived class answers IPersistStreamInit's own members)
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID* clsid) override;

    // IPersistStorage: the IPersistStreamInit data in the stream "Contents".
    HRESULT STDMETHODCALLTYPE InitNew(IStorage* storage) override;
    HRESULT STDMETHODCALLTYPE Load(IStorage* storage) override;
    HRESULT STDMETHODCALLTYPE Save(IStorage* storage, BOOL sameAsLoad) override;
    HRESULT STDMETHODCALLTYPE SaveCompleted(IStorage*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE HandsOffStorage() override { return S_OK; }

    // IDataObject: the view as a metafile picture of the extent.
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override;
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override;
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override;
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) override;
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC* format, DWORD flags, IAdviseSink* sink, DWORD* cookie) override;
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD cookie) override;
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA** advise) override;

    // IQuickActivate
    HRESULT STDMETHODCALLTYPE QuickActivate(QACONTAINER* container, QACONTROL* control) override;
    HRESULT STDMETHODCALLTYPE SetContentExtent(LPSIZEL size) override;
    HRESULT STDMETHODCALLTYPE GetContentExtent(LPSIZEL size) override;

    // ISupportErrorInfo, ISpecifyPropertyPages (none), IProvideClassInfo(2)
    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override;
    HRESULT STDMETHODCALLTYPE GetPages(CAUUID* pages) override;
    HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetGUID(DWORD kind, GUID* guid) override;

protected:
    // outer: the controlling unknown when aggregated, else null.
    MKOleControl(IUnknown* outer, const CLSID& clsid, const IID& dispatchIid);
    virtual ~MKOleControl();

    // The derived class's own interfaces (its automation interface and
    // IDispatch); null for the others.
    virtual void* QueryOwn(REFIID iid) = 0;
    // Draws the view into dc within bounds (device units).
    virtual HRESULT OnDraw(HDC dc, const RECT& bounds) = 0;
    // The control window's messages: set handled to answer with the result,
    // else DefWindowProc runs.
    virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) = 0;

    // The type information of the class's library (TYPELIB 1 of the module)
    // for the interface or class identifier; null when it cannot be loaded.
    ITypeInfo* TypeInfoOf(const GUID& guid);

    // Redraws the view: the window when in-place active, else the view
    // advise sink is told.
    void FireViewChange();
    // Tells the data advise holder (when one was made) that the data changed.
    void SendOnDataChange();
    void SetDirty(bool dirty) { m_requiresSave = dirty; }
    bool IsDirtyFlag() const { return m_requiresSave; }
    bool InPlaceActive() const { return m_inPlaceActive; }
    HWND ControlWindow() const { return m_window; }
    const RECT& PositionRect() const { return m_position; }
    const SIZEL& Extent() const { return m_extent; }
    IOleClientSite* ClientSite() const { return m_clientSite; }
    // The container's ambient UserMode; false when it cannot be read.
    bool AmbientUserMode(bool& userMode) const;
    // The frame's own window procedure, for messages the control leaves.
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);

    // Framework answers for WM_PAINT and WM_KILLFOCUS.
    LRESULT OnPaint();
    void OnKillFocus();

private:
    class InnerUnknown : public IUnknown {
    public:
        explicit InnerUnknown(MKOleControl* owner) : m_owner(owner) {}
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
        ULONG STDMETHODCALLTYPE AddRef() override;
        ULONG STDMETHODCALLTYPE Release() override;

    private:
        MKOleControl* m_owner;
    };

    HRESULT InPlaceActivate(LONG verb, const RECT* rect);
    bool CreateControlWindow(HWND parent, const RECT& position);
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HRESULT EnsureDataAdviseHolder();
    HRESULT DrawMetafile(STGMEDIUM* medium);

    LONG m_refs = 0;
    InnerUnknown m_inner;
    IUnknown* m_outer;
    CLSID m_clsid;
    IID m_dispatchIid;
    ITypeLib* m_typeLib = nullptr;

    IOleClientSite* m_clientSite = nullptr;
    IOleInPlaceSite* m_inPlaceSite = nullptr;
    IOleAdviseHolder* m_oleAdviseHolder = nullptr;
    IDataAdviseHolder* m_dataAdviseHolder = nullptr;
    IAdviseSink* m_viewSink = nullptr;
    DWORD m_viewAspects = 0;
    DWORD m_viewFlags = 0;

    HWND m_window = nullptr;
    SIZEL m_extent;
    RECT m_position = {};
    bool m_inPlaceActive = false;
    bool m_uiActive = false;
    bool m_requiresSave = false;
    int m_freezeCount = 0;
};
