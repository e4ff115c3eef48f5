// The session's reactions to PowerPoint's show events, its pane and show
// window messages, the frame timer and content verbs.
#include "addin/effects/SlideShowSession.h"

#include "addin/effects/SlideShowController.h"
#include "addin/effects/SlideShowHost.h"
#include "addin/effects/SlideLayer.h"
#include "addin/effects/SlideTimeline.h"
#include "addin/effects/StepList.h"
#include "addin/hosting/ClockPauseGuard.h"
#include "addin/hosting/NodeHost.h"

#include <new>

namespace {

SlideShowSession::VerbHook s_verbHook = nullptr;

const UINT kPaneLeaveSlide = 1045;
const UINT kPaneGotoSlide = 1046;
const WORD kShowCommandBack = 1774;
const WORD kShowCommandBackOld = 394;
// The view's answers when it has no click index or count.
const int32_t kNoClickIndex = -10;
const int32_t kNoClickCount = -1;

bool IsBlankScreen(long state)
{
    return state == PowerPoint::ppSlideShowBlackScreen || state == PowerPoint::ppSlideShowWhiteScreen;
}

}  // namespace

// One event's code on the session's stack, from the handler's start to its
// end (also when a COM error unwinds it).
class SessionEventScope {
public:
    SessionEventScope(SlideShowSession* session, int code) : m_session(session), m_depth(session->m_events.GetCount())
    {
        session->m_events.Add(code);
    }
    ~SessionEventScope() { m_session->EndEvent(m_depth); }
    SessionEventScope(const SessionEventScope&) = delete;
    SessionEventScope& operator=(const SessionEventScope&) = delete;

private:
    SlideShowSession* m_session;
    int m_depth;
};

void SlideShowSession::SetVerbHook(VerbHook hook)
{
    s_verbHook = hook;
}

bool SlideShowSession::Admit(bool quiet)
{
    if (m_events.IsEmpty())
        return true;
    if (!quiet)
        m_stopRequest = true;
    return false;
}

void SlideShowSession::EndEvent(int depth)
{
    if (m_events.GetCount() > depth)
        m_events.RemoveRange(depth, m_events.GetCount() - depth);
    if (m_stopRequest && m_events.IsEmpty() && !m_stopped)
        Stop();
}

void SlideShowSession::Poll()
{
    long before = m_viewTracker.GetState();
    long now = m_viewTracker.Poll();
    if (now == before || !CurrentHasEffects())
        return;
    if (IsBlankScreen(now) && !IsBlankScreen(before))
        m_currentLayer->Hide();
    else if (IsBlankScreen(before) && !IsBlankScreen(now))
        m_currentLayer->Show();
}

bool SlideShowSession::CurrentHasEffects() const
{
    return m_currentLayer && m_currentLayer->HasEffects();
}

NodeHost* SlideShowSession::GuardedHost() const
{
    return CurrentHasEffects() ? m_currentLayer->GetHost() : nullptr;
}

void SlideShowSession::RunOrPause()
{
    if (!CurrentHasEffects())
        return;
    if (m_viewTracker.GetState() == PowerPoint::ppSlideShowRunning)
        m_currentLayer->Run();
    else
        m_currentLayer->Pause();
}

bool SlideShowSession::CanHandle(bool needActive) const
{
    if (m_stopped || !m_currentLayer || m_currentLayer->IsUnloaded())
        return false;
    return !(needActive && m_currentLayer->HasEffects() && !m_currentLayer->IsActive());
}

int32_t SlideShowSession::InvokeViewCount(DISPID id, int32_t fallback) const
{
    if (m_officeCode < 1200 || !m_view)
        return fallback;
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    VARIANT result;
    VariantInit(&result);
    HRESULT hr = m_view->Invoke(id, IID_NULL, 1024, DISPATCH_METHOD, &none, &result, nullptr, nullptr);
    int32_t value = SUCCEEDED(hr) && result.vt == VT_I4 ? result.lVal : fallback;
    VariantClear(&result);
    return value;
}

int32_t SlideShowSession::ReadClickIndex() const
{
    return InvokeViewCount(PowerPoint::DISPID_SlideShowView_GetClickIndex, kNoClickIndex);
}

int32_t SlideShowSession::ReadClickCount() const
{
    return InvokeViewCount(PowerPoint::DISPID_SlideShowView_GetClickCount, kNoClickCount);
}

int32_t SlideShowSession::SlideClicksToRun() const
{
    return m_oldOffice ? -1 : ReadClickCount();
}

void SlideShowSession::SyncClicks(bool always)
{
    if (m_officeCode < 1200 || (m_oldOffice && !always) || !m_currentLayer)
        return;
    SlideTimeline& timeline = m_currentLayer->GetTimeline();
    StepList* main = timeline.GetList(0);
    if (!main)
        return;
    int32_t click = ReadClickIndex();
    if (click == kNoClickIndex)
        return;
    if (click != main->currentStep)
        m_clickMarker = m_events.IsEmpty() ? 0 : m_events[m_events.GetCount() - 1];
    else if (!always)
        return;
    timeline.OnStepChanged(main, click);
}

bool SlideShowSession::AtLastClick()
{
    if (m_officeCode < 1200 || m_oldOffice || !m_currentLayer)
        return false;
    StepList* main = m_currentLayer->GetTimeline().GetList(0);
    if (!main)
        return false;
    int32_t click = ReadClickIndex();
    if (click == kNoClickIndex || click != main->currentStep || click != ReadClickCount() ||
        m_clickMarker == kNext)
        return false;
    m_clickMarker = kNext;
    return true;
}

SlideLayer* SlideShowSession::GetSlideLayer(long slideId)
{
    if (slideId < 0)
        return nullptr;
    for (int i = 0; i < m_layers.GetCount(); ++i) {
        if (m_layers[i]->GetSlideId() == slideId)
            return m_layers[i];
    }
    SlideLayer* layer = new (std::nothrow) SlideLayer(this);
    if (!layer)
        return nullptr;
    if (!m_layers.Add(layer)) {
        layer->Release();
        return nullptr;
    }
    // A layer that fails to load stays, empty: its slide runs without content.
    layer->Load(slideId);
    m_visitLog.Open(layer->GetSlideNumber());
    return layer;
}

long SlideShowSession::ReadCurrentSlideId() const
{
    long state = 0;
    if (!m_view || FAILED(m_view->get_State(&state)) || state == PowerPoint::ppSlideShowDone)
        return -1;
    PowerPoint::Slide* slide = nullptr;
    long id = -1;
    if (FAILED(m_view->get_Slide(&slide)) || !slide)
        return -1;
    if (FAILED(slide->get_SlideID(&id)))
        id = -1;
    slide->Release();
    return id;
}

void SlideShowSession::LeaveSlide()
{
    m_switching = true;
    if (m_shownSlideId >= 0)
        m_lastSlideId = m_shownSlideId;
    m_shownSlideId = -1;
    // Kept alive here: removing it from the list may drop the last reference.
    MKRefHolder<SlideLayer> layer = m_currentLayer;
    if (layer) {
        m_lastSlideId = layer->GetSlideId();
        if (layer->HasEffects()) {
            layer->Hide();
            layer->Pause();
            layer->Deactivate();
            if (m_viewTracker.GetState() != PowerPoint::ppSlideShowDone) {
                layer->PrepareEffects();
                layer->RefreshTimings();
                layer->GetTimeline().Reset();
            }
        }
        int index = m_layers.IndexOf(layer.Get());
        if (index >= 0)
            DropLayer(index);
        m_currentLayer.Reset();
    }
    m_switching = false;
}

void SlideShowSession::SwitchToSlide(long slideId)
{
    m_switching = true;
    m_shownSlideId = slideId;
    m_currentLayer.AssignPointer(GetSlideLayer(slideId));
    if (CurrentHasEffects()) {
        m_currentLayer->PrepareEffects();
        if (m_currentLayer->NeedsTimingRefresh())
            m_currentLayer->RefreshTimings();
    }
    RunOrPause();
    m_switching = false;
}

void SlideShowSession::RunSlide(int32_t clicks)
{
    SlideLayer* layer = m_currentLayer.Get();
    if (!layer || layer->IsUnloaded() || !layer->HasEffects())
        return;
    // PowerPoint may count clicks on the slide that animate nothing of ours.
    if (!m_oldOffice)
        layer->GetTimeline().EnsureMainSteps(clicks);
    if (m_runningSlide)
        return;
    m_runningSlide = true;
    if (NodeHost* host = layer->GetHost()) {
        host->BeginUpdate(false);
        layer->GetTimeline().Reset();
        layer->Activate();
        RunOrPause();
        layer->Show();
        SyncClicks(false);
        host->EndUpdate(false);
        if (layer->ArePlaceholdersPending())
            layer->HidePlaceholders();
    }
    m_runningSlide = false;
}

void SlideShowSession::PollInEvent(int code)
{
    if (!Admit())
        return;
    SessionEventScope scope(this, code);
    ClockPauseGuard guard(GuardedHost());
    Poll();
    if (!CanHandle(true) || !CurrentHasEffects())
        return;
    RunOrPause();
    // Back moves the list also to where it is: PowerPoint replays the click.
    SyncClicks(code == kPrevious);
}

void SlideShowSession::OnBegin()
{
    // SlideShowBegin may come inside the switch to the first slide.
    bool insideSwitch = m_events.GetCount() == 1 && m_events[0] == kGotoSlide;
    if (!insideSwitch && !Admit())
        return;
    SessionEventScope scope(this, kBegin);
    ClockPauseGuard guard(GuardedHost());
    Poll();
    if (!m_switching && CanHandle(false) && CurrentHasEffects())
        RunOrPause();
}

void SlideShowSession::OnNextSlide()
{
    if (!Admit() || !m_currentLayer)
        return;
    SessionEventScope scope(this, kNextSlide);
    ClockPauseGuard guard(GuardedHost());
    Poll();
    if (CurrentHasEffects() && m_currentLayer->GetSlideId() != m_lastSlideId && CanHandle(false))
        RunSlide(SlideClicksToRun());
}

void SlideShowSession::OnNextBuild()
{
    PollInEvent(kNextBuild);
}

void SlideShowSession::OnNextClick(PowerPoint::Effect*)
{
    PollInEvent(kNextClick);
}

void SlideShowSession::OnNext()
{
    if (m_oldOffice || !Admit() || !CurrentHasEffects() || AtLastClick())
        return;
    SessionEventScope scope(this, kNext);
    ClockPauseGuard guard(GuardedHost());
    Poll();
    if (!CanHandle(true))
        return;
    RunOrPause();
    m_currentLayer->Activate();
    SyncClicks(true);
}

void SlideShowSession::OnPrevious()
{
    PollInEvent(kPrevious);
}

void SlideShowSession::OnVerb(int verb)
{
    // From PowerPoint 12 on, click positions come from the view instead.
    if (m_officeCode > 1199 || m_stopped)
        return;
    // A verb during another event is lost without stopping the session.
    if (!Admit(true))
        return;
    SessionEventScope scope(this, kVerb);
    if (s_verbHook)
        s_verbHook(this, verb);
    MKRefHolder<SlideLayer> layer = m_currentLayer;
    if (!layer || layer->IsUnloaded())
        return;
    Poll();
    ClockPauseGuard guard(GuardedHost());
    RunOrPause();
    if (layer->IsUnloaded() || !layer->HasEffects() || !layer->IsRunning())
        return;
    layer->Activate();
    SlideTimeline& timeline = layer->GetTimeline();
    StepList* list = nullptr;
    int32_t click = 0;
    bool isEnd = false;
    if (!timeline.FindVerb(verb, &list, &click, &isEnd))
        return;
    // An end verb moves the list only when no hosted content holds the focus.
    NodeHost* host = layer->GetHost();
    if (!isEnd || !host || !host->GetFocusTop())
        timeline.OnStepChanged(list, click);
}

void SlideShowSession::OnShowCommand()
{
    if (!Admit())
        return;
    SessionEventScope scope(this, kShowCommand);
    ClockPauseGuard guard(GuardedHost());
    Poll();
    if (!m_currentLayer)
        return;
    RunOrPause();
    SlideLayer* layer = m_currentLayer.Get();
    if (layer->GetSlideId() <= 0 || m_viewTracker.GetState() != PowerPoint::ppSlideShowRunning || !CanHandle(true) ||
        !layer->HasEffects())
        return;
    StepList* main = layer->GetTimeline().GetList(0);
    if (main && main->currentStep >= 0)
        layer->GetTimeline().StepBack();
}

void SlideShowSession::OnFrameTick()
{
    if (!m_events.IsEmpty() || m_stopped)
        return;
    ClockPauseGuard guard(GuardedHost());
    if (!m_suspended) {
        HWND active = GetActiveWindow();
        HWND main = nullptr;
        if (active && active != m_pane && active != GetParent(m_pane) &&
            SUCCEEDED(m_controller->GetHost()->GetMainWindow(&main))) {
            for (HWND walk = active; walk; walk = GetParent(walk)) {
                if (walk == main) {
                    Suspend();
                    return;
                }
            }
        }
        Tick();
        return;
    }
    long state = 0;
    // From PowerPoint 12 on, the view must also know the slide's clicks again;
    // before, the running state alone resumes.
    if ((m_officeCode < 1200 || ReadClickCount() >= 0) && m_view && SUCCEEDED(m_view->get_State(&state)) &&
        state == PowerPoint::ppSlideShowRunning)
        Resume();
}

void SlideShowSession::Tick()
{
    SessionEventScope scope(this, kTick);
    Poll();
    if (m_switching || !CurrentHasEffects())
        return;
    RunOrPause();
    SlideLayer* layer = m_currentLayer.Get();
    if (!layer->IsActive() || layer->IsUnloaded() || !layer->GetHost())
        return;
    layer->GetHost()->FlushPendingUpdate();
    SyncClicks(false);
    if (m_viewTracker.GetState() == PowerPoint::ppSlideShowRunning)
        layer->GetTimeline().Tick();
}

void SlideShowSession::Suspend()
{
    SessionEventScope scope(this, kSuspend);
    if (m_suspended)
        return;
    m_suspended = true;
    Poll();
    m_slideWidth = 0;
    m_slideHeight = 0;
    if (CurrentHasEffects())
        m_currentLayer->RefreshTimings();
    ReleaseLayers();
    m_shownSlideId = -1;
}

void SlideShowSession::Resume()
{
    SessionEventScope scope(this, kResume);
    m_clickMarker = 0;
    if (!m_suspended)
        return;
    m_suspended = false;
    Poll();
    if (!ReadSlideSize()) {
        Stop();
        return;
    }
    long slideId = ReadCurrentSlideId();
    if (slideId < 0)
        return;
    SwitchToSlide(slideId);
    if (!m_stopRequest)
        RunSlide(SlideClicksToRun());
}

LRESULT SlideShowSession::OnPaneMessage(UINT message, WPARAM, LPARAM lParam, bool* handled)
{
    *handled = false;
    if (m_stopped)
        return 0;
    if (m_stopRequest) {
        if (m_events.IsEmpty())
            Stop();
        return 0;
    }
    if (message == WM_PAINT && m_switchDepth > 0) {
        ++m_swallowedPaints;
        PAINTSTRUCT paint;
        if (BeginPaint(m_pane, &paint))
            EndPaint(m_pane, &paint);
        *handled = true;
        return 0;
    }
    if (m_suspended || (message != kPaneGotoSlide && message != kPaneLeaveSlide))
        return 0;
    int code = message == kPaneGotoSlide ? kGotoSlide : kLeaveSlide;
    if (!Admit())
        return 0;
    SessionEventScope scope(this, code);
    m_clickMarker = 0;
    long slideId = message == kPaneGotoSlide ? static_cast<long>(lParam) : 0;
    // With "/S" PowerPoint opens the presentation for the show alone: the
    // plug-ins hear of it at the first announcement (slide 0).
    SlideShowHost* host = m_controller->GetHost();
    if (message == kPaneGotoSlide && slideId == 0 && host->StartedToShow() && m_presentation)
        host->ForwardPresentationOpen(m_presentation.Get());
    Poll();
    if (message == kPaneGotoSlide && m_shownSlideId == slideId) {
        m_lastSlideId = slideId;
        return 0;
    }
    ++m_switchDepth;
    LeaveSlide();
    SwitchToSlide(slideId);
    if (--m_switchDepth == 0)
        m_swallowedPaints = 0;
    return 0;
}

LRESULT SlideShowSession::OnShowWindowMessage(UINT message, WPARAM wParam, LPARAM, bool* handled)
{
    *handled = false;
    if (m_stopped)
        return 0;
    if (m_stopRequest) {
        if (m_events.IsEmpty())
            Stop();
        return 0;
    }
    if (message == WM_COMMAND) {
        // PowerPoint does not see commands issued during an event.
        if (!m_events.IsEmpty()) {
            *handled = true;
            return 0;
        }
        WORD command = LOWORD(wParam);
        if ((command == kShowCommandBack || command == kShowCommandBackOld) && m_officeCode < 1200)
            OnShowCommand();
        return 0;
    }
    if (message == WM_SYSCOMMAND && !m_events.IsEmpty())
        *handled = true;
    return 0;
}

void SlideShowSession::OnShowWindowDestroyed()
{
    m_controller->StopSession(this, true);
}
