#pragma once
#include "addin/hosting/ControlSiteOwner.h"

class ControlPropertyBag;
class ControlSite;
class RasterImage;

// A control hosted without any window: made in a ControlSite, loaded from a
// property bag, activated at a fixed pixel size and drawn through its view
// object into off-screen surfaces (Render). It answers the site with fixed
// values; derived hosts name the control and draw it. One thread.
class ControlHost : public ControlSiteOwner {
public:
    ControlHost();
    virtual ~ControlHost();
    ControlHost(const ControlHost&) = delete;
    ControlHost& operator=(const ControlHost&) = delete;

    // Creates the control (S_OK when it exists); a failure leaves no site.
    HRESULT CreateSite();
    void DestroySite();
    bool IsInPlaceActive() const;
    HRESULT LoadControl(int width, int height);
    // Activates the control in place at (0, 0, width, height).
    HRESULT Activate();
    void SetExtent(int width, int height);
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    void SetProperty(const MKString& name, const MKString& value);
    HRESULT QueryControl(REFIID iid, void** out) const;
    // Not referenced for the caller; null without control.
    IViewObject* GetViewObject() const;

    // The picture of the control (the caller owns it), or null.
    virtual RasterImage* Render() = 0;

protected:
    // Called once the control exists; false takes the site down again.
    virtual bool OnSiteCreated() { return true; }

    // ControlSiteOwner
    HRESULT InvokeAmbient(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }
    HRESULT GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    HRESULT GetContainer(IOleContainer**) override { return E_NOTIMPL; }
    HRESULT ShowObject() override { return E_NOTIMPL; }
    HRESULT OnShowWindow(bool) override { return E_NOTIMPL; }
    void OnSave() override { }
    void OnViewChange(DWORD, LONG) override { }
    HRESULT SetMenu(HMENU, HOLEMENU, HWND) override { return E_NOTIMPL; }
    HRESULT SetStatusText(LPCOLESTR) override { return E_NOTIMPL; }
    void OnFocusGained() override { }
    void OnFocusLost() override { }
    HRESULT GetWindow(HWND* window) override;
    // Yes: the host activates the control itself, at once.
    HRESULT CanInPlaceActivate() override { return S_OK; }
    void OnInPlaceActivate() override { }
    HRESULT OnUIActivate() override { return E_NOTIMPL; }
    HRESULT OnUIDeactivate(BOOL) override { return E_NOTIMPL; }
    HRESULT RequestUIActivate() override { return E_NOTIMPL; }
    void OnInPlaceActivateEx() override { }
    HRESULT GetDC(const RECT*, DWORD, HDC* dc) override;
    HRESULT ReleaseDC(HDC) override { return S_OK; }
    HRESULT InvalidateRect(const RECT*, bool, bool) override { return S_OK; }
    HRESULT QueryService(REFGUID, REFIID, void** object) override;
    void OnPropertyChanged(DISPID) override { }
    bool OnRequestEdit(DISPID) override { return true; }
    HRESULT GetOverrideKeyPath(MKString&, DWORD) override { return E_NOTIMPL; }
    HRESULT GetHostInfo(DOCHOSTUIINFO*) override { return E_NOTIMPL; }
    HRESULT ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) override { return E_NOTIMPL; }
    HRESULT ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                   IOleInPlaceUIWindow*) override
    {
        return E_NOTIMPL;
    }
    HRESULT HideUI() override { return E_NOTIMPL; }
    HRESULT UpdateUI() override { return E_NOTIMPL; }

private:
    ControlSite* m_site = nullptr;
    ControlPropertyBag* m_bag;
    int m_width = 0;
    int m_height = 0;
};
