#pragma once
#include "player/app/PVUIFeedBack.h"

class MKStatusBar;
class PVPlaybackView;
class PVWToolBar;

enum PVStatusPane : unsigned {
    kPVPaneTime = 59136,
    kPVPaneRate = 59137,
    kPVPaneFrame = 59138,
};

// The main frame's playback display: the state in the message pane, time,
// rate and frame counter in their panes, and the tool bar's buttons and seek
// bar. None of the three is owned; a missing status bar leaves only the tool
// bar updated. A Playing state ends the wait cursor begun for the opening.
class PVWUIFeedBack : public PVUIFeedBack {
public:
    void Attach(PVPlaybackView* view, PVWToolBar* toolBar, MKStatusBar* statusBar);

    void StateChanged() override;
    void SetFrameCount(uint16_t count) override;
    void SetCurrentFrame(uint16_t frame) override;
    void SetFrameRate(uint32_t rate) override;

private:
    PVPlaybackView* m_view = nullptr;
    PVWToolBar* m_toolBar = nullptr;
    MKStatusBar* m_statusBar = nullptr;
};
