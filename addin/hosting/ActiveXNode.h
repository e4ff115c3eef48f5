#pragma once
#include "addin/hosting/ControlWindowOwner.h"
#include "addin/hosting/SceneNode.h"
#include "addin/hosting/UrlResolver.h"
#include "base/MKString.h"

#include <docobj.h>
#include <mshtmhst.h>
#include <ocidl.h>
#include <stdint.h>

class BindingManager;
class ControlHostWindow;
class ControlPropertyBag;
class ControlSite;
class ControlWindowHook;
class NodeSiteOwner;
class RasterImage;
struct INodeInputEvents;

// A scene node that shows one ActiveX control, held in a ControlSite whose
// questions the node answers. By kind the control runs windowed in a control
// host window of the node's own (kinds 0 and 1, 1 counting as a native
// control) or windowless, drawn into the node's content layer (kind 2).
// The node routes a windowed control's mouse and key input between the
// control, the host handler's target windows and the node's sink
// (INodeInputEvents), and switches the cursor on request; a windowless
// control gets no input from the node.
//
// Derived nodes name the control (GetControlClsid), its node type and its
// start-up properties, and override what their control needs.
//
// With the bind-host flag the control loads what it names through a bind
// host (QueryService) served by the node's binding manager, which asks the
// node to resolve names below the virtual root (ResolveUrl): the picture
// captured behind a native-window node, else the host handler's resources.
//
// Ownership: while a control exists the node holds the site (one reference),
// its site owner and the binding manager; none of them holds the node. The control must be
// gone (OnDetach) before the node is deleted. One thread, the host's.
class ActiveXNode : public SceneNode, public ControlWindowOwner, public UrlResolver {
public:
    enum Kind { WindowedKind = 0, NativeWindowKind = 1, WindowlessKind = 2 };
    enum InputFlag : uint32_t {
        KeepMouse = 1,  // mouse messages stay with the control
        KeepKeys = 4,  // keys stay with the control; presses give it the focus
        KeepRightButton = 8,  // right-button messages stay; key command 432 is not swallowed
        TakesFocus = 0x10,  // the node takes part in the host's focus stack (implies
                            // KeepKeys)
    };
    enum CursorMode { CursorLeftAlone = 0, CursorShown = 1, CursorHidden = 2 };
    // The key command swallowed unless KeepRightButton is set.
    static constexpr int32_t kSwallowedCommand = 432;

    ActiveXNode(int kind, bool bindHost);

    int GetKind() const { return m_kind; }
    bool IsWindowed() const { return m_kind != WindowlessKind; }

    // Control lifetime: each answers the first failure; a failed creation
    // leaves no control behind. StartControl loads the properties only once
    // per control.
    bool StartControl();
    HRESULT CreateControl();
    HRESULT LoadProperties(int width, int height);
    HRESULT ActivateControl();
    HRESULT DestroyControl();
    bool IsControlActive() const;
    bool HasControl() const { return m_site != nullptr; }
    // The control's interface `iid` with one reference in `out` (null on
    // failure; E_FAIL without control).
    HRESULT QueryControl(REFIID iid, void** out) const;
    HRESULT Connect(REFIID iid, IUnknown* sink);
    ControlSite* GetSite() const { return m_site; }
    ControlHostWindow* GetHostWindow() const { return m_hostWindow; }
    HWND GetControlWindow() const;

    // Start-up properties, read by the control when it loads.
    void SetProperty(const MKString& name, const MKString& value);
    void SetProperty(const MKString& name, int32_t value);
    bool RemoveProperty(const MKString& name);
    bool GetProperty(const MKString& name, MKString& value) const;

    void SetInputFlags(uint32_t flags);
    uint32_t GetInputFlags() const { return m_inputFlags; }
    void SetCursorMode(int mode);
    int GetCursorMode() const { return m_cursorMode; }
    bool IsMouseTracked() const { return m_mouseTracked; }
    // While hidden, an off-screen host window stays visible at 1 x 1 so the
    // control keeps running; set before activation, cleared when shown.
    bool IsOffScreen() const;
    void SetOffScreen(bool offScreen);

    // The control's current picture at the node's pixel size (the caller
    // owns it); null for an empty node or a control not in place.
    RasterImage* CaptureImage();
    // The attached sink's INodeInputEvents with a reference in `events`.
    HRESULT QueryInputHandler(INodeInputEvents** events) const;

    // The windowed control's window messages (through the hook).
    virtual LRESULT OnControlWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // SceneNode
    NodeWindow* GetNodeWindow() override;
    void UpdateNow() override;
    void TakeFocus() override;
    void SetShown(bool show) override;
    bool RenderContent(RECT& changed) override;

    // ControlWindowOwner: hooks the control's window.
    void AttachControlWindow(HWND control) override;

    // UrlResolver: kReady only with a stream.
    int ResolveUrl(int bindingId, const MKString& url, int* handled, IStream** stream, uint32_t* size) override;
    void OnBindingPending(int, const MKString&, int) override {}
    BindingManager* GetBindingManager() const { return m_bindingManager; }

protected:
    ~ActiveXNode() override;

    void OnDetach() override;
    void OnRectChanged(const RECT& oldRect, const RECT& newRect, const RECT& oldWindowRect,
                       const RECT& newWindowRect) override;
    bool OnStop() override;

    // Called right after the control was created; false fails the creation.
    virtual bool ConnectEvents() { return true; }
    virtual HRESULT OnControlDestroyed() { return S_OK; }
    virtual void BeforeCreateWindow(HWND, int, int, int, int) { }
    virtual void OnVisibleChanged(bool visible);
    virtual NodeSiteOwner* CreateSiteOwner();
    virtual ControlSite* CreateSite(NodeSiteOwner* owner);

    // The site's questions (ControlSiteOwner, through NodeSiteOwner).
    virtual const CLSID* GetControlClsid() = 0;
    virtual HRESULT InvokeAmbient(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*)
    {
        return E_NOTIMPL;
    }
    virtual HRESULT GetMoniker(DWORD, DWORD, IMoniker**) { return E_NOTIMPL; }
    virtual HRESULT GetContainer(IOleContainer**) { return E_NOTIMPL; }
    virtual HRESULT ShowObject() { return E_NOTIMPL; }
    virtual HRESULT OnShowWindow(bool) { return E_NOTIMPL; }
    virtual void OnViewChange(DWORD, LONG) { }
    virtual void OnSave() { }
    virtual void OnFocusGained() { }
    virtual void OnFocusLost() { }
    virtual HRESULT GetWindow(HWND* window);
    // Yes: a control that asks is about to be activated by the node itself.
    virtual HRESULT CanInPlaceActivate() { return S_OK; }
    virtual void OnInPlaceActivate() { }
    virtual HRESULT OnUIActivate() { return E_NOTIMPL; }
    virtual HRESULT OnUIDeactivate(BOOL) { return E_NOTIMPL; }
    virtual HRESULT RequestUIActivate() { return E_NOTIMPL; }
    virtual void OnInPlaceActivateEx() { }
    virtual HRESULT GetDC(const RECT* rect, DWORD flags, HDC* dc);
    virtual HRESULT ReleaseDC(HDC dc);
    virtual HRESULT InvalidateRect(const RECT* rect, bool erase, bool outsidePositionChange);
    virtual HRESULT SetMenu(HMENU, HOLEMENU, HWND) { return E_NOTIMPL; }
    virtual HRESULT SetStatusText(LPCOLESTR) { return E_NOTIMPL; }
    virtual HRESULT QueryService(REFGUID service, REFIID iid, void** object);
    virtual void OnPropertyChanged(DISPID) { }
    virtual bool OnRequestEdit(DISPID) { return true; }
    virtual HRESULT GetOverrideKeyPath(MKString&, DWORD) { return E_NOTIMPL; }
    virtual HRESULT GetHostInfo(DOCHOSTUIINFO*) { return E_NOTIMPL; }
    virtual HRESULT ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) { return E_NOTIMPL; }
    virtual HRESULT ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*, IOleInPlaceUIWindow*)
    {
        return E_NOTIMPL;
    }
    virtual HRESULT HideUI() { return E_NOTIMPL; }
    virtual HRESULT UpdateUI() { return E_NOTIMPL; }

    bool HasBindHost() const { return m_bindHost; }
    ControlPropertyBag* GetPropertyBag() const { return m_bag; }

private:
    friend class NodeSiteOwner;

    LRESULT OnMouseMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnKeyMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT CallDefault(UINT message, WPARAM wParam, LPARAM lParam);
    void ApplyCursorMode();
    void NewHostWindow();
    void DropBindingManager();

    const int m_kind;
    ControlSite* m_site = nullptr;
    NodeSiteOwner* m_siteOwner = nullptr;
    ControlPropertyBag* m_bag = nullptr;
    ControlHostWindow* m_hostWindow = nullptr;
    ControlWindowHook* m_hook = nullptr;
    const bool m_bindHost;
    BindingManager* m_bindingManager = nullptr;
    bool m_propertiesLoaded = false;
    bool m_mouseTracked = false;
    uint32_t m_inputFlags = 0;
    int m_cursorMode = CursorLeftAlone;
};
