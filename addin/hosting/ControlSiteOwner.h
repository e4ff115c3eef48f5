#pragma once
#include "base/MKString.h"

#include <docobj.h>
#include <mshtmhst.h>
#include <ocidl.h>
#include <windows.h>

// Everything a ControlSite cannot answer with a fixed value: the site passes
// each question about the content to its owner and returns the owner's
// answer unchanged. Owners are the scene's ActiveX nodes (through their
// forwarding object) and the off-screen host of picture export. Called on the
// site's thread only; the owner outlives the site's control.
class ControlSiteOwner {
public:
    virtual const CLSID* GetControlClsid() = 0;
    // Every ambient DISPID the site does not answer itself, and control
    // events delivered to the site's IDispatch.
    virtual HRESULT InvokeAmbient(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                                  EXCEPINFO* exception, UINT* argumentError) = 0;
    virtual HRESULT GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) = 0;
    virtual HRESULT GetContainer(IOleContainer** container) = 0;
    virtual HRESULT ShowObject() = 0;
    virtual HRESULT OnShowWindow(bool show) = 0;
    virtual void OnSave() = 0;
    virtual void OnViewChange(DWORD aspect, LONG index) = 0;
    virtual HRESULT SetMenu(HMENU shared, HOLEMENU descriptor, HWND activeObject) = 0;
    virtual HRESULT SetStatusText(LPCOLESTR text) = 0;
    virtual void OnFocusGained() = 0;
    virtual void OnFocusLost() = 0;
    virtual HRESULT GetWindow(HWND* window) = 0;
    virtual HRESULT CanInPlaceActivate() = 0;
    virtual void OnInPlaceActivate() = 0;
    virtual HRESULT OnUIActivate() = 0;
    virtual HRESULT OnUIDeactivate(BOOL undoable) = 0;
    virtual HRESULT RequestUIActivate() = 0;
    virtual void OnInPlaceActivateEx() = 0;
    // Windowless drawing.
    virtual HRESULT GetDC(const RECT* rect, DWORD flags, HDC* dc) = 0;
    virtual HRESULT ReleaseDC(HDC dc) = 0;
    // `outsidePositionChange` is false while the site moves the control.
    virtual HRESULT InvalidateRect(const RECT* rect, bool erase, bool outsidePositionChange) = 0;
    virtual HRESULT QueryService(REFGUID service, REFIID iid, void** object) = 0;
    virtual void OnPropertyChanged(DISPID id) = 0;
    // True allows the edit.
    virtual bool OnRequestEdit(DISPID id) = 0;
    virtual HRESULT GetOverrideKeyPath(MKString& key, DWORD reserved) = 0;
    virtual HRESULT GetHostInfo(DOCHOSTUIINFO* info) = 0;
    virtual HRESULT ShowContextMenu(DWORD id, POINT* point, IUnknown* commandTarget, IDispatch* object) = 0;
    virtual HRESULT ShowUI(DWORD id, IOleInPlaceActiveObject* active, IOleCommandTarget* commandTarget,
                           IOleInPlaceFrame* frame, IOleInPlaceUIWindow* document) = 0;
    virtual HRESULT HideUI() = 0;
    virtual HRESULT UpdateUI() = 0;

protected:
    ~ControlSiteOwner() = default;
};
