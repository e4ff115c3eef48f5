#pragma once
#include "addin/hosting/ActiveXNode.h"

class WebBrowserEventSink;

// A web page in a node tree: the system's WebBrowser control, windowed, with
// the bind host, sent to the start address when the node starts. Its events
// go to a WebBrowserEventSink (made with the node, released by it), which
// lets navigation go ahead and refuses new windows. The node answers the
// control's document-host questions so that it shows its own menus and UI
// inside the node. One thread: the host's.
class WebBrowserNode final : public ActiveXNode {
public:
    // Where the control goes when the node starts.
    static const wchar_t kStartAddress[];

    WebBrowserNode();

    int GetNodeType() const override { return WebBrowser; }
    // Navigate2 to the URL; nothing without the control.
    void Navigate(const MKString& url);

protected:
    ~WebBrowserNode() override;

    NodeProxy* CreateProxy() override;
    bool OnActivate() override;
    bool OnStart() override;
    bool ConnectEvents() override;
    const CLSID* GetControlClsid() override;
    HRESULT InvokeAmbient(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return DISP_E_MEMBERNOTFOUND;
    }
    HRESULT GetContainer(IOleContainer** container) override;
    HRESULT ShowObject() override { return S_OK; }
    HRESULT OnUIActivate() override { return S_OK; }
    HRESULT OnUIDeactivate(BOOL) override { return S_OK; }
    HRESULT RequestUIActivate() override { return S_OK; }
    HRESULT SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    HRESULT SetStatusText(LPCOLESTR) override { return S_OK; }
    HRESULT GetOverrideKeyPath(MKString&, DWORD) override { return S_FALSE; }
    HRESULT GetHostInfo(DOCHOSTUIINFO* info) override;
    HRESULT ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) override { return S_FALSE; }
    HRESULT ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                   IOleInPlaceUIWindow*) override
    {
        return S_FALSE;
    }
    HRESULT HideUI() override { return S_OK; }
    HRESULT UpdateUI() override { return S_OK; }

private:
    WebBrowserEventSink* m_sink;
};
