#pragma once
#include "addin/hosting/ControlSiteOwner.h"

class ActiveXNode;

// What an ActiveX node gives its ControlSite: every question goes to the
// node's operation of the same name. Owned by the node (made with the
// control, deleted with it); holds no reference on the node.
class NodeSiteOwner : public ControlSiteOwner {
public:
    explicit NodeSiteOwner(ActiveXNode* node) : m_node(node) { }
    virtual ~NodeSiteOwner() = default;
    NodeSiteOwner(const NodeSiteOwner&) = delete;
    NodeSiteOwner& operator=(const NodeSiteOwner&) = delete;

    const CLSID* GetControlClsid() override;
    HRESULT InvokeAmbient(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                          EXCEPINFO* exception, UINT* argumentError) override;
    HRESULT GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) override;
    HRESULT GetContainer(IOleContainer** container) override;
    HRESULT ShowObject() override;
    HRESULT OnShowWindow(bool show) override;
    void OnSave() override;
    void OnViewChange(DWORD aspect, LONG index) override;
    HRESULT SetMenu(HMENU shared, HOLEMENU descriptor, HWND activeObject) override;
    HRESULT SetStatusText(LPCOLESTR text) override;
    void OnFocusGained() override;
    void OnFocusLost() override;
    HRESULT GetWindow(HWND* window) override;
    HRESULT CanInPlaceActivate() override;
    void OnInPlaceActivate() override;
    HRESULT OnUIActivate() override;
    HRESULT OnUIDeactivate(BOOL undoable) override;
    HRESULT RequestUIActivate() override;
    void OnInPlaceActivateEx() override;
    HRESULT GetDC(const RECT* rect, DWORD flags, HDC* dc) override;
    HRESULT ReleaseDC(HDC dc) override;
    HRESULT InvalidateRect(const RECT* rect, bool erase, bool outsidePositionChange) override;
    HRESULT QueryService(REFGUID service, REFIID iid, void** object) override;
    void OnPropertyChanged(DISPID id) override;
    bool OnRequestEdit(DISPID id) override;
    HRESULT GetOverrideKeyPath(MKString& key, DWORD reserved) override;
    HRESULT GetHostInfo(DOCHOSTUIINFO* info) override;
    HRESULT ShowContextMenu(DWORD id, POINT* point, IUnknown* commandTarget, IDispatch* object) override;
    HRESULT ShowUI(DWORD id, IOleInPlaceActiveObject* active, IOleCommandTarget* commandTarget, IOleInPlaceFrame* frame,
                   IOleInPlaceUIWindow* document) override;
    HRESULT HideUI() override;
    HRESULT UpdateUI() override;

private:
    ActiveXNode* m_node;
};
