#pragma once
#include <windows.h>

#include <stdint.h>

#include "addin/effects/SlideVisitLog.h"
#include "addin/effects/ShowViewTracker.h"
#include "hostapi/PowerPointInterfaces.h"
#include "base/MKComHolder.h"
#include "base/MKRefClass.h"
#include "base/MKRefHolder.h"
#include "base/MKTArray.h"

class MKTimer;
class NodeHost;
class SessionReport;
class ShowContentList;
class SlideLayer;
class SlideShowController;
class SlideShowMessageWindow;
class PaneSubclassRecord;

// Follows one PowerPoint slide-show window from its creation until the show
// ends: finds the show's pane, puts its hidden message window there (the
// frame clock and the address of content verbs), watches the pane and the
// show window through subclassing, and reacts to PowerPoint's show events.
// It suspends itself while another PowerPoint window is active and keeps the
// presentation's saved mark unchanged by the add-in's own edits.
//
// Re-entry is refused: each handler pushes its event code; an event that
// arrives while another is handled (COM calls and message boxes pump
// messages) is dropped and sets the stop request, and the session stops once
// the outermost handler ends. That a nested event ends the session is
// intended: the show's state can no longer be trusted.
//
// Each slide announced on the pane gets a slide layer with the slide's
// content; the layer runs while the slide is shown, pauses with the view,
// hides on black and white screens and is unloaded when the slide is left.
//
// Reference counted; the controller's list holds one reference, a window
// procedure holds one while it calls in. PowerPoint's user-interface thread
// only.
class SlideShowSession : public MKRefClass {
public:
    enum EventCode {
        kGotoSlide = 1,
        kLeaveSlide = 2,
        kBegin = 3,
        kNextSlide = 4,
        kNextBuild = 5,
        kNextClick = 6,
        kNext = 7,
        kPrevious = 8,
        kVerb = 10,
        kShowCommand = 11,
        kSuspend = 12,
        kResume = 13,
        kTick = 14,
    };
    static const UINT_PTR kFrameTimerId = 47233;
    static const UINT kFrameTimerPeriod = 50;
    static const int kNoSavedToken = -10000;

    using VerbHook = void (*)(SlideShowSession* session, int verb);

    // Made only by the controller; stopped until Begin.
    SlideShowSession(SlideShowController* controller, PowerPoint::SlideShowWindow* window);
    ~SlideShowSession() override;

    // Finds the pane, subclasses the windows, makes the message window and
    // starts the frame timer; keys the report by the show's presentation.
    // False (and stopped) when any of that fails. A show type other than 1
    // (speaker, full screen) stops at once but answers true.
    bool Begin(SessionReport* report);
    void Stop();
    bool IsStopped() const { return m_stopped; }
    bool IsSuspended() const { return m_suspended; }

    // The pane among the show window's descendants by PowerPoint's version:
    // 10 and 11 the untitled child of class "paneClassDC"; 12, 14 or no
    // detection record that child, else the first such descendant; any other
    // version the child titled "Slide Show".
    static HWND FindPane(HWND showWindow, bool detected, int officeCode);

    // PowerPoint's show events, passed on by the controller.
    void OnBegin();
    void OnNextSlide();
    void OnNextBuild();
    void OnNextClick(PowerPoint::Effect* effect);
    void OnNext();
    void OnPrevious();
    // From the message window: every 50 ms, and a content verb (verb - 10).
    void OnFrameTick();
    void OnVerb(int verb);
    // Show-window commands 1774 and 394 (PowerPoint before 12).
    void OnShowCommand();
    // From the subclassed pane and show window; handled messages answer 0
    // and do not reach PowerPoint.
    LRESULT OnPaneMessage(UINT message, WPARAM wParam, LPARAM lParam, bool* handled);
    LRESULT OnShowWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, bool* handled);
    // The show window is being destroyed: the session ends without a report.
    void OnShowWindowDestroyed();

    // The layer of the slide (loaded when new); null for a negative ID.
    SlideLayer* GetSlideLayer(long slideId);
    // The layer of the slide being shown; null between a stop and the next
    // announcement.
    SlideLayer* GetCurrentLayer() const { return m_currentLayer.Get(); }
    int GetLayerCount() const { return m_layers.GetCount(); }
    SlideLayer* GetLayer(int index) const { return m_layers.SafeGetAt(index); }
    // Content asked to end the show: the view's Exit runs 100 ms later.
    void RequestExit();

    // The counted guard of the presentation's saved mark (EffectHostLock).
    bool AcquireHostLock();
    bool ReleaseHostLock();

    PowerPoint::SlideShowWindow* GetWindow() const { return m_window.Get(); }
    PowerPoint::SlideShowView* GetView() const { return m_view.Get(); }
    PowerPoint::Presentation* GetPresentation() const { return m_presentation.Get(); }
    SlideShowController* GetController() const { return m_controller; }
    HWND GetPane() const { return m_pane; }
    HWND GetMessageWindow() const;
    UINT_PTR GetFrameTimer() const { return m_frameTimer; }
    int GetOfficeCode() const { return m_officeCode; }
    bool IsOldOffice() const { return m_oldOffice; }
    float GetSlideWidth() const { return m_slideWidth; }
    float GetSlideHeight() const { return m_slideHeight; }
    SessionReport* GetReport() const { return m_report.Get(); }
    // Emptied when the session stops; null only when it could not be made.
    ShowContentList* GetContentList() const { return m_contentList; }
    const ShowViewTracker& GetViewTracker() const { return m_viewTracker; }
    // When the show began and the slides it visited, for plug-ins.
    const SlideVisitLog& GetVisitLog() const { return m_visitLog; }
    int GetEventDepth() const { return m_events.GetCount(); }
    bool IsStopRequested() const { return m_stopRequest; }
    // The session stops once the event being handled ends.
    void RequestStop() { m_stopRequest = true; }
    int GetSwallowedPaints() const { return m_swallowedPaints; }
    long GetLastSlideId() const { return m_lastSlideId; }
    long GetShownSlideId() const { return m_shownSlideId; }

    // Test hook: told of every verb the session accepts, inside its event.
    static void SetVerbHook(VerbHook hook);

private:
    friend class SessionEventScope;

    // Step 1 of every handler: false (and the stop request set unless
    // `quiet`) when another event is being handled.
    bool Admit(bool quiet = false);
    // Cuts the event stack back; stops when a stop was requested and no
    // handler runs any more.
    void EndEvent(int depth);
    // An event's frame around a poll of the view.
    void PollInEvent(int code);
    void Poll();
    // Switching brackets: the announced slide's layer becomes the current
    // one; leaving hides, pauses and unloads it.
    void SwitchToSlide(long slideId);
    void LeaveSlide();
    // The shown slide's layer starts: activated, running or paused with the
    // view, shown.
    // `clicks`: PowerPoint's click count of the slide, which the main step
    // list is made to cover (-1: unknown).
    void RunSlide(int32_t clicks);
    void RunOrPause();
    // The view's click position and click count (PowerPoint 12 on); -10 and
    // -1 when PowerPoint does not answer.
    int32_t ReadClickIndex() const;
    int32_t ReadClickCount() const;
    // The current layer's main step list follows the view's click position;
    // `always` also moves it to the position it has (and from old Office).
    void SyncClicks(bool always);
    // Next came at the main list's last click for the first time.
    bool AtLastClick();
    // The click count RunSlide needs: -1 before PowerPoint 12.
    int32_t SlideClicksToRun() const;
    // A current, loaded layer (active too when asked) of a running session.
    bool CanHandle(bool needActive) const;
    bool CurrentHasEffects() const;
    // The host whose repaint clock an event keeps its own time out of: the
    // current layer's, when it has effects.
    NodeHost* GuardedHost() const;
    void ReleaseLayers();
    // Takes the layer off the list: its visit ends, it unloads, the list's
    // reference goes.
    void DropLayer(int index);
    static void OnExitTimer(MKTimer* timer);
    void Tick();
    void Suspend();
    void Resume();
    bool ReadSlideSize();
    int32_t InvokeViewCount(DISPID id, int32_t fallback) const;
    long ReadCurrentSlideId() const;
    bool CreateMessageWindow();

    bool m_stopped = true;
    SlideShowController* m_controller;
    MKRefHolder<SessionReport> m_report;
    MKComHolder<PowerPoint::SlideShowWindow> m_window;
    MKComHolder<PowerPoint::SlideShowView> m_view;
    MKComHolder<PowerPoint::Presentation> m_presentation;
    HWND m_pane = nullptr;
    PaneSubclassRecord* m_paneRecord = nullptr;
    SlideShowMessageWindow* m_messageWindow = nullptr;
    UINT_PTR m_frameTimer = 0;
    float m_slideWidth = 0;
    float m_slideHeight = 0;
    int m_savedToken = kNoSavedToken;
    int m_hostLockCount = 0;
    ShowContentList* m_contentList = nullptr;
    bool m_switching = false;
    ShowViewTracker m_viewTracker;
    SlideVisitLog m_visitLog;
    bool m_suspended = false;
    int m_officeCode = 0;
    long m_lastSlideId = -1;
    // The slide PowerPoint last announced on the pane; -1 before the first.
    long m_shownSlideId = -1;
    MKTArray<int> m_events;
    bool m_stopRequest = false;
    int m_switchDepth = 0;
    int m_swallowedPaints = 0;
    bool m_oldOffice = false;
    int m_clickMarker = 0;
    MKTArray<SlideLayer*> m_layers;
    MKRefHolder<SlideLayer> m_currentLayer;
    bool m_runningSlide = false;
    MKTimer* m_exitTimer = nullptr;
    // One use of the process's player version cache from Begin to Stop.
    bool m_holdsPlayerVersions = false;
};

// Holds one count of a session's host lock from a successful acquisition to
// its destruction.
class EffectHostLock {
public:
    explicit EffectHostLock(SlideShowSession* session)
        : m_session(session && session->AcquireHostLock() ? session : nullptr)
    {
    }
    ~EffectHostLock()
    {
        if (m_session)
            m_session->ReleaseHostLock();
    }
    EffectHostLock(const EffectHostLock&) = delete;
    EffectHostLock& operator=(const EffectHostLock&) = delete;
    bool IsHeld() const { return m_session != nullptr; }

private:
    SlideShowSession* m_session;
};
