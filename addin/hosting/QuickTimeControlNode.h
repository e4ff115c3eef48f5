#pragma once
#include "addin/hosting/ActiveXNode.h"
#include "addin/hosting/QuickTimeEventSink.h"
#include "base/MKString.h"
#include "base/MKVersion.h"

#include <stdint.h>

// A QuickTime movie in the QuickTime Control, windowed, without the bind
// host. The control and the movie object it hands out are called by
// virtual-table slot (hostapi/QuickTimeInterfaces.h). Setters write the
// start-up property bag until the control is in place and the running
// control afterwards; failed calls are ignored. When the control reports its
// movie loaded (status 4099) while the node runs, the control flag and the
// movie flag are applied and the movie plays when play on load is set. The
// node paints its window red behind the movie, sparing the movie and its
// controller strip once it has painted. The event sink is made with the node
// and let go by it. One thread: the host's.
class QuickTimeControlNode final : public ActiveXNode, private QuickTimeStatusHandler {
public:
    // The room of the movie controller below the movie rectangle.
    static constexpr int kControllerHeight = 16;

    QuickTimeControlNode();

    int GetNodeType() const override { return QuickTimeControl; }

    // The version of the file registered for the control's class; E_FAIL
    // without such a file or version resource.
    static HRESULT GetInstalledVersion(MKVersion& out);

    const MKString& GetUrl() const { return m_url; }
    void SetUrl(const MKString& url);
    void SetBorderStyle(int32_t style);
    // 0x00BBGGRR; the control wants red and blue the other way round.
    void SetBorderColor(uint32_t colour);
    void SetMovieControllerVisible(bool visible);
    void SetSizing(int32_t sizing);
    void SetAutoPlayProperty(bool autoPlay);

    bool GetPlayOnLoad() const { return m_playOnLoad; }
    void SetPlayOnLoad(bool playOnLoad) { m_playOnLoad = playOnLoad; }
    bool GetMovieFlag() const { return m_movieFlag; }
    void SetMovieFlag(bool flag);
    int32_t GetInitOption() const { return m_initOption; }
    void SetInitOption(int32_t option) { m_initOption = option; }
    bool GetControlFlag() const { return m_controlFlag; }
    void SetControlFlag(bool flag);
    bool IsInitialised() const { return m_initialised; }

    // Movie operations: false without a movie, else true whatever the movie
    // answers.
    bool Play();
    bool MovieCommand1();
    bool MovieCommand2();
    bool MovieCommand3();
    bool MovieCommand4();
    bool ApplyMovieFlag(bool flag);
    // `rect` is zeroed first and receives the movie's rectangle on success.
    bool GetMovieRect(RECT& rect);

    // The control's one-time initialisation; true when it answered S_OK.
    // Made once per node, whatever its answer.
    bool Initialise();
    // The control's status report (its event 4).
    void OnStatus(int32_t first, int32_t second, const MKString& text);

    LRESULT OnControlWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    ~QuickTimeControlNode() override;

    NodeProxy* CreateProxy() override;
    bool OnActivate() override;
    bool OnStart() override;
    bool ConnectEvents() override;
    const CLSID* GetControlClsid() override;
    HRESULT GetContainer(IOleContainer** container) override;

private:
    void OnQuickTimeStatus(int32_t first, int32_t second, const MKString& text) override;

    // The control's interface with one reference, or null.
    IUnknown* QueryControlInterface() const;
    // The movie object (slot 24, only while the control is in place) with one
    // reference, or null.
    IUnknown* QueryMovie() const;
    bool CallMovie(int slot);
    bool IsRunning() const;
    void ApplyControlFlag();
    void ApplyStartFlags();
    void PaintBackground(HWND window);

    QuickTimeEventSink* m_sink;
    bool m_playOnLoad = true;
    MKString m_url;
    bool m_movieFlag = false;
    int32_t m_initOption = 0;
    bool m_initialised = false;
    bool m_controlFlag = false;
    bool m_painted = false;
};
