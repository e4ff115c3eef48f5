#pragma once
#include "base/MKCSubclassWnd.h"
#include "player/app/CPVSlider.h"
#include "player/app/CPVSliderCallback.h"

#include <windows.h>
#include <commctrl.h>

class PVPlaybackView;

enum PVToolBarCommand : UINT {
    kPVCommandStop = 57645,
    kPVCommandPlay = 57646,
    kPVCommandPause = 57647,
    kPVCommandSeekBar = 57648,
};

// The tool bar with Play, Pause and Stop and the seek bar in a separator:
// buttons and seek bar follow the view's state, and moving the thumb pauses a
// playing movie and seeks. The view is not owned and must outlive the tool
// bar. UI thread only.
class PVWToolBar : public CPVSliderCallback, private MKCSubclassWnd {
public:
    PVWToolBar() = default;
    ~PVWToolBar();
    PVWToolBar(const PVWToolBar&) = delete;
    PVWToolBar& operator=(const PVWToolBar&) = delete;

    // Creates the comctl32 tool bar, at the top of parent unless the
    // alignment styles say otherwise.
    bool Create(HWND parent, UINT id, DWORD alignStyle = CCS_TOP);
    // Sets up the buttons and the seek bar for the view; -1 when the seek bar
    // cannot be made, else 0.
    int Attach(PVPlaybackView* view);
    HWND GetSafeHwnd() const { return m_window; }
    CPVSlider& Slider() { return m_slider; }

    void Reposition();
    // index 0, 1, 2: Play, Pause, Stop. A disabled button carries no command.
    void SetButtonState(int index, bool down, bool enabled);
    void UpdateButtons();
    void SetFrameCount(int count);
    void SetPosition(int frame);

    void OnSliderEvent(int code, int position, CPVSlider* slider) override;

private:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void ApplySliderEnable(int state);

    HWND m_window = nullptr;
    CPVSlider m_slider;
    PVPlaybackView* m_view = nullptr;
    int m_sliderMax = -1;
    bool m_sliderEnabled = false;
};
