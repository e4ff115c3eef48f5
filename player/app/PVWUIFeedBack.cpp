#include "player/app/PVWUIFeedBack.h"

#include "base/MKString.h"
#include "player/app/PVPlaybackView.h"
#include "player/app/PVWToolBar.h"
#include "player/app/framework/MKStatusBar.h"
#include "player/app/framework/MKWaitCursor.h"

void PVWUIFeedBack::Attach(PVPlaybackView* view, PVWToolBar* toolBar, MKStatusBar* statusBar)
{
    m_view = view;
    m_toolBar = toolBar;
    m_statusBar = statusBar;
}

void PVWUIFeedBack::StateChanged()
{
    if (m_toolBar)
        m_toolBar->UpdateButtons();
    int state = m_view ? m_view->GetState() : kPVStateNone;
    static const char* const kStateTexts[] = {"", "Stopped", "Paused", "Playing", "Ended"};
    if (m_statusBar)
        m_statusBar->SetPaneText(0, state >= 0 && state <= 4 ? kStateTexts[state] : "");
    if (state == kPVStatePlaying)
        MKWaitCursor::End();
}

void PVWUIFeedBack::SetFrameCount(uint16_t count)
{
    if (m_toolBar)
        m_toolBar->SetFrameCount(count);
}

void PVWUIFeedBack::SetCurrentFrame(uint16_t frame)
{
    if (m_toolBar)
        m_toolBar->SetPosition(frame);
    if (!m_statusBar)
        return;
    double rate = m_view ? m_view->GetFrameRate() : 0;
    int count = m_view ? m_view->GetFrameCount() : 0;
    // The last frame shows as the frame count: "10 / 10", not "9 / 10".
    int shown = frame;
    if (rate > 0 && shown >= count - 1)
        shown = count;
    MKString text;
    if (rate > 0) {
        int s = int(shown / rate);
        int t = int(count / rate);
        text.Format("%02d:%02d / %02d:%02d", s / 60, s % 60, t / 60, t % 60);
    }
    m_statusBar->SetPaneText(kPVPaneTime, text.GetText());
    text.Clear();
    if (count != 0)
        text.Format(" Frame: %d / %d", shown, count);
    m_statusBar->SetPaneText(kPVPaneFrame, text.GetText());
}

void PVWUIFeedBack::SetFrameRate(uint32_t rate)
{
    if (!m_statusBar)
        return;
    MKString text;
    if (rate != 0)
        text.Format(" %2d.%01d fps", int((rate + 5) / 100), int((rate + 5) / 10 % 10));
    m_statusBar->SetPaneText(kPVPaneRate, text.GetText());
}
