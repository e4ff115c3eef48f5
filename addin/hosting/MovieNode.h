#pragma once
#include "addin/hosting/ActiveXNode.h"
#include "base/MKString.h"

#include <stdint.h>

class MKStringDictionary;
class MovieEventSink;
struct IMovieCallHandler;

// Plays one of the product's own effect movies in the Flash Player control.
// The movie gets the node's size and mode as flashvars, may come from a
// block of memory, is told of size and visibility changes and talks to the
// add-in through ExternalInterface: a few calls the node answers itself,
// every other goes to the handler the plug-in's attached sink offers
// (IMovieCallHandler, taken at activation). A native-window node lets the
// movie paint over a picture of what lies behind it and shows only once the
// movie says its screen is ready ("__vqz_OnScreenReady").
class MovieNode : public ActiveXNode {
public:
    // 0 window, 1 transparent, 2 direct, 3 gpu, 4-6 window, direct and gpu
    // with a native window (above 6: window with a native window). Direct
    // and gpu need player 10 and fall back to window before it.
    explicit MovieNode(int mode);

    int GetNodeType() const override { return Movie; }
    int GetMode() const { return m_mode; }
    int GetPlayerMajor() const { return m_playerMajor; }

    // The node's own dictionary (made empty on first use) of variables
    // passed to the movie.
    MKStringDictionary& GetUserVariables();
    // The path, or null while the movie comes from memory.
    const MKString* GetMoviePath() const;
    void SetMoviePath(const MKString& path);
    // Takes over a block from CoTaskMemAlloc (freed with CoTaskMemFree).
    void SetMovieData(void* block, int length);
    // The flashvars text built at the last activation ("?" before).
    const MKString& GetFlashVars() const { return m_flashVars; }
    const MKString& GetTemporaryFile() const { return m_temporaryFile; }

    // The flashvars text of the node as it is now.
    MKString BuildFlashVars();
    bool OnResize();
    bool RefreshBackground();
    // A movie's ExternalInterface call; the return value is set before it
    // answers.
    HRESULT OnFlashCall(const MKString& request);
    HRESULT SetBackgroundColor(uint8_t red, uint8_t green, uint8_t blue);

    // SceneNode
    bool IsReady() override;
    void UpdateReady() override;
    void TryBecomeReady() override;

protected:
    ~MovieNode() override;

    NodeProxy* CreateProxy() override;
    void OnDetach() override;
    void OnRectChanged(const RECT& oldRect, const RECT& newRect, const RECT& oldWindowRect,
                       const RECT& newWindowRect) override;
    bool OnActivate() override;
    bool OnStart() override;
    bool ConnectEvents() override;
    HRESULT OnControlDestroyed() override;
    void BeforeCreateWindow(HWND parent, int x, int y, int width, int height) override;
    void OnVisibleChanged(bool visible) override;
    const CLSID* GetControlClsid() override;
    // "C:\": relative addresses resolve against the drive of the virtual root.
    HRESULT GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) override;
    HRESULT GetContainer(IOleContainer** container) override;
    HRESULT ShowObject() override { return S_OK; }
    HRESULT OnUIActivate() override { return S_OK; }
    HRESULT OnUIDeactivate(BOOL) override { return S_OK; }

private:
    void FreeMovieData();
    void DeleteTemporaryFile();
    HRESULT AnswerGlyphs(const MKString& request);
    HRESULT PassToHandler(const MKString& request);

    int m_playerMajor;
    int m_mode;
    MovieEventSink* m_sink = nullptr;
    MKString m_moviePath;
    void* m_movieData = nullptr;
    int m_movieLength = 0;
    MKString m_temporaryFile;
    IMovieCallHandler* m_handler = nullptr;
    MKStringDictionary* m_userVariables = nullptr;
    MKString m_flashVars;
    bool m_backgroundRefreshed = false;
    bool m_colourSampled = false;
    uint8_t m_sampled[3] = {};
    bool m_hasSavedColour = false;
    MKString m_savedColour;
};
