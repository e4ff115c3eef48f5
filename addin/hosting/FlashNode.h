#pragma once
#include "addin/hosting/ActiveXNode.h"
#include "base/MKString.h"

// Plays a Flash movie in the Flash Player control: windowless for the
// transparent window mode, in a host window of its own for the others. The
// movie, flashvars and window mode reach the control as start-up properties
// when it loads; a control already in place keeps what it loaded.
class FlashNode : public ActiveXNode {
public:
    enum WindowMode { Window = 0, Transparent = 1, Direct = 2, Gpu = 3 };

    // Direct and gpu need player 10 and fall back to window before it; any
    // other unknown mode is window.
    explicit FlashNode(int windowMode);

    int GetNodeType() const override { return Flash; }
    int GetWindowMode() const { return m_windowMode; }
    int GetPlayerMajor() const { return m_playerMajor; }
    const MKString& GetMovie() const { return m_movie; }
    void SetMovie(const MKString& movie);
    const MKString& GetFlashVars() const { return m_flashVars; }
    void SetFlashVars(const MKString& flashVars);

    // The "wmode" property of a window mode.
    static const wchar_t* WindowModeName(int windowMode);

protected:
    NodeProxy* CreateProxy() override;
    bool OnActivate() override;
    bool OnStart() override;
    bool ConnectEvents() override;
    const CLSID* GetControlClsid() override;
    HRESULT InvokeAmbient(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                          EXCEPINFO* exception, UINT* argumentError) override;
    // "C:\": relative addresses resolve against the drive of the virtual root.
    HRESULT GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) override;
    HRESULT GetContainer(IOleContainer** container) override;
    HRESULT ShowObject() override { return S_OK; }
    HRESULT OnUIActivate() override { return S_OK; }
    HRESULT OnUIDeactivate(BOOL) override { return S_OK; }

private:
    int m_playerMajor;
    int m_windowMode;
    MKString m_movie;
    MKString m_flashVars;
};
