#pragma once
#include "standins/controls/EventPoint.h"

#include <windows.h>
#include <ocidl.h>
#include <oleidl.h>
#include <memory>
#include <string>
#include <vector>

namespace standin {

// Base of the stand-in ActiveX controls: the OLE embedding, in-place and view
// protocol a container drives, the property-bag persistence, the connection
// points, a child window (windowed activation) or drawing into the site's DC
// (windowless activation), and a clock for playback. Every call a container
// makes is written to the call log (ControlLog) as "<Interface>.<Method>(...)",
// except IViewObject.Draw, which is logged as "IViewObject.Draw(bounds)" and
// depends on how often the container repaints. Each property read from a bag
// is logged as "property <name>=\"<text>\"", followed by its type (" as
// VT_I4") when the value is not text; the last Release is logged as
// "released".
//
// Windowless activation happens when the derived control asks for it
// (WantsWindowless) and the client site offers IOleInPlaceSiteWindowless and
// answers S_OK to CanWindowlessActivate; the control then draws only through
// IViewObject::Draw and asks the site to repaint with InvalidateRect (falling
// back to the site window's own InvalidateRect when the site refuses).
// Windowed activation makes a child window of the site's window at the
// position from GetWindowContext; it paints with Paint and logs its mouse and
// key messages ("window WM_LBUTTONDOWN(x,y)", "window WM_KEYDOWN(0x41)";
// mouse moves are not logged). A WM_PAINT whose wParam is a device context
// paints into that context (how hosts snapshot a windowed control).
//
// Single-threaded apartment only. The reference count is not locked beyond
// InterlockedIncrement; the object deletes itself at 0.
class OleControl : public IOleObject,
                   public IOleInPlaceObjectWindowless,
                   public IViewObjectEx,
                   public IPersistPropertyBag,
                   public IPersistPropertyBag2,
                   public IConnectionPointContainer {
public:
    OleControl(const OleControl&) = delete;
    OleControl& operator=(const OleControl&) = delete;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IOleObject
    HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* site) override;
    HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** site) override;
    HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR app, LPCOLESTR object) override;
    HRESULT STDMETHODCALLTYPE Close(DWORD option) override;
    HRESULT STDMETHODCALLTYPE SetMoniker(DWORD which, IMoniker* moniker) override;
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) override;
    HRESULT STDMETHODCALLTYPE InitFromData(IDataObject* data, BOOL creation, DWORD reserved) override;
    HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD reserved, IDataObject** data) override;
    HRESULT STDMETHODCALLTYPE DoVerb(LONG verb, LPMSG message, IOleClientSite* site, LONG index, HWND parent,
                                     LPCRECT rect) override;
    HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB** verbs) override;
    HRESULT STDMETHODCALLTYPE Update() override;
    HRESULT STDMETHODCALLTYPE IsUpToDate() override;
    HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID* clsid) override;
    HRESULT STDMETHODCALLTYPE GetUserType(DWORD form, LPOLESTR* type) override;
    HRESULT STDMETHODCALLTYPE SetExtent(DWORD aspect, SIZEL* size) override;
    HRESULT STDMETHODCALLTYPE GetExtent(DWORD aspect, SIZEL* size) override;
    HRESULT STDMETHODCALLTYPE Advise(IAdviseSink* sink, DWORD* cookie) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
    HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA** advise) override;
    HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD aspect, DWORD* status) override;
    HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE* palette) override;

    // IOleInPlaceObjectWindowless
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL enter) override;
    HRESULT STDMETHODCALLTYPE InPlaceDeactivate() override;
    HRESULT STDMETHODCALLTYPE UIDeactivate() override;
    HRESULT STDMETHODCALLTYPE SetObjectRects(LPCRECT position, LPCRECT clip) override;
    HRESULT STDMETHODCALLTYPE ReactivateAndUndo() override;
    HRESULT STDMETHODCALLTYPE OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    HRESULT STDMETHODCALLTYPE GetDropTarget(IDropTarget** target) override;

    // IViewObjectEx
    HRESULT STDMETHODCALLTYPE Draw(DWORD aspect, LONG index, void* aspectInfo, DVTARGETDEVICE* device, HDC target,
                                   HDC draw, LPCRECTL bounds, LPCRECTL windowBounds,
                                   BOOL(STDMETHODCALLTYPE* keepGoing)(ULONG_PTR), ULONG_PTR argument) override;
    HRESULT STDMETHODCALLTYPE GetColorSet(DWORD aspect, LONG index, void* aspectInfo, DVTARGETDEVICE* device,
                                          HDC target, LOGPALETTE** colours) override;
    HRESULT STDMETHODCALLTYPE Freeze(DWORD aspect, LONG index, void* aspectInfo, DWORD* freeze) override;
    HRESULT STDMETHODCALLTYPE Unfreeze(DWORD freeze) override;
    HRESULT STDMETHODCALLTYPE SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) override;
    HRESULT STDMETHODCALLTYPE GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) override;
    HRESULT STDMETHODCALLTYPE GetExtent(DWORD aspect, LONG index, DVTARGETDEVICE* device, LPSIZEL size) override;
    HRESULT STDMETHODCALLTYPE GetRect(DWORD aspect, LPRECTL rect) override;
    HRESULT STDMETHODCALLTYPE GetViewStatus(DWORD* status) override;
    HRESULT STDMETHODCALLTYPE QueryHitPoint(DWORD aspect, LPCRECT bounds, POINT point, LONG closeHint,
                                            DWORD* result) override;
    HRESULT STDMETHODCALLTYPE QueryHitRect(DWORD aspect, LPCRECT bounds, LPCRECT rect, LONG closeHint,
                                           DWORD* result) override;
    HRESULT STDMETHODCALLTYPE GetNaturalExtent(DWORD aspect, LONG index, DVTARGETDEVICE* device, HDC target,
                                               DVEXTENTINFO* info, LPSIZEL size) override;

    // IPersistPropertyBag and IPersistPropertyBag2 (and IPersist)
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID* clsid) override;
    HRESULT STDMETHODCALLTYPE InitNew() override;
    HRESULT STDMETHODCALLTYPE Load(IPropertyBag* bag, IErrorLog* log) override;
    HRESULT STDMETHODCALLTYPE Save(IPropertyBag* bag, BOOL clearDirty, BOOL saveAll) override;
    HRESULT STDMETHODCALLTYPE Load(IPropertyBag2* bag, IErrorLog* log) override;
    HRESULT STDMETHODCALLTYPE Save(IPropertyBag2* bag, BOOL clearDirty, BOOL saveAll) override;
    HRESULT STDMETHODCALLTYPE IsDirty() override;

    // IConnectionPointContainer
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** points) override;
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** point) override;

protected:
    // `name` starts every log line; `events` (may be null) is the control's
    // event dispatch interface, offered beside IPropertyNotifySink.
    OleControl(const wchar_t* name, const CLSID& clsid, const IID* events, const wchar_t* eventsName);
    virtual ~OleControl();

    // The control's own interfaces (automation), or null.
    virtual void* QueryOwn(REFIID iid) = 0;
    // Names read by IPersistPropertyBag::Load, as VT_BSTR.
    virtual std::vector<std::wstring> BagNames() const = 0;
    // A start-up property read from a bag (name lower-cased; the text form).
    virtual void ApplyProperty(const std::wstring& name, const std::wstring& value) = 0;
    // Called after a Load finished (every Load, also a second one).
    virtual void OnPropertiesLoaded() {}
    virtual bool WantsWindowless() const { return false; }
    // Draws the current picture into `bounds`; `transparent` when windowless
    // (nothing is drawn where the picture has no alpha).
    virtual void Paint(HDC dc, const RECT& bounds, bool transparent) = 0;
    virtual void OnClientSiteSet() {}
    virtual void OnActivated() {}
    virtual void OnTick() {}
    // A message of the child window before the default handling; set
    // `handled` to answer it.
    virtual LRESULT OnChildMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);

    void Log(const std::wstring& line) const;
    // Asks for a repaint of the whole control and tells the view's advise
    // sink that the view changed.
    void Invalidate();
    void StartClock(UINT milliseconds);
    void StopClock();

    IOleClientSite* ClientSite() const { return m_site; }
    HWND ChildWindow() const { return m_window; }
    bool InPlace() const { return m_inPlace; }
    bool Windowless() const { return m_windowless; }
    const RECT& Position() const { return m_position; }
    EventPoint* Events() { return m_events.get(); }
    EventPoint& PropertyNotify() { return *m_propertyNotify; }
    const wchar_t* Name() const { return m_name; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static ATOM WindowClass();
    HRESULT ActivateInPlace(IOleClientSite* site, HWND parent, LPCRECT rect);
    // Leaves the in-place state (window, site) without a log line: what a
    // container's InPlaceDeactivate and Close have in common.
    void Deactivate();
    void PaintWindow(HDC dc);
    LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void LoadFromBag(IPropertyBag* bag);

    LONG m_refs = 1;
    const wchar_t* m_name;
    CLSID m_clsid;
    IOleClientSite* m_site = nullptr;
    IOleInPlaceSite* m_inPlaceSite = nullptr;
    IOleInPlaceSiteWindowless* m_windowlessSite = nullptr;
    IAdviseSink* m_oleAdvise = nullptr;
    IAdviseSink* m_viewAdvise = nullptr;
    DWORD m_viewAspects = 0;
    DWORD m_viewFlags = 0;
    std::unique_ptr<EventPoint> m_propertyNotify;
    std::unique_ptr<EventPoint> m_events;
    HWND m_window = nullptr;
    HWND m_clock = nullptr;
    bool m_inPlace = false;
    bool m_windowless = false;
    int m_loads = 0;
    RECT m_position = {};
    SIZEL m_extent = {2540, 2540};
};

}  // namespace standin
