#include "player/app/DravoRenderer.h"

#include "player/app/PVUIFeedBack.h"
#include "player/engine/PVGLDraw.h"
#include "player/engine/PVInFileStream.h"
#include "player/engine/PVMovieClip.h"
#include "player/engine/PVMovieParser.h"
#include "player/engine/PVPlayer.h"
#include "player/engine/WGLView.h"

#include <new>

namespace {

const char kClassName[] = "__hwf_rclass";
const DWORD kNoMovieSleepMs = 30;
const DWORD k3DRedrawMs = 16;
// A fifth of a frame period, but never so long that a very slow movie (down
// to 1/256 frame per second) freezes the window between checks.
const DWORD kMaxFrameCheckSleepMs = 100;

}  // namespace

bool DravoRenderer::s_wasPlayingBeforeMenu = false;

DravoRenderer::DravoRenderer(HINSTANCE instance, HINSTANCE resources)
    : PVRendererWindow(instance, resources, kClassName)
{
}

DravoRenderer::~DravoRenderer()
{
    Close();
}

bool DravoRenderer::Create(const char* windowName, HWND parentView)
{
    return PVRendererWindow::Create(windowName, parentView, RECT{10, 10, 20, 20});
}

bool DravoRenderer::LoadFile(const char* path)
{
    PVInFileStream stream;
    if (!path || !stream.Open(path))
        return false;
    return Load(stream);
}

bool DravoRenderer::Load(PVInStream& stream)
{
    Close();
    m_playStartTick = 0;
    m_framesPlayed = 0;

    PVPlayer* player = new (std::nothrow) PVPlayer();
    if (!player || !player->Init()) {
        delete player;
        return false;
    }
    player->SetMainMovieLoops(true);
    player->EnableSound(!m_playAsFastAsPossible);
    PVMovieParser parser;
    if (!parser.Load(stream, *player)) {
        delete player;
        return false;
    }
    m_player = player;

    const PVRect& frame = player->FrameRect();
    int width = (frame.xmax - frame.xmin) / 20;
    int height = (frame.ymax - frame.ymin) / 20;
    // A movie without height keeps the default shape instead of an endless one.
    m_aspect = height > 0 && width > 0 ? float(width) / float(height) : 4.0f / 3.0f;
    m_movieVersion = parser.Version();

    WGLView* view = new (std::nothrow) WGLView(m_window);
    if (!view)
        return false;
    if (view->Create(16, true) != 0) {
        delete view;
        return false;
    }
    m_glView = view;
    player->InitAudio(m_window);
    // The drawer owns the view from here on, also when it cannot start.
    m_drawer = new (std::nothrow) PVGLDraw(player, view);
    if (!m_drawer) {
        delete view;
    } else if (!m_drawer->Init()) {
        delete m_drawer;
        m_drawer = nullptr;
    }
    m_glView = nullptr;

    m_placedWidth = m_placedHeight = 0;
    Layout(m_clientWidth, m_clientHeight);
    if (m_feedback)
        m_feedback->SetFrameCount(uint16_t(player->GetFrameCount()));
    m_playStartTick = GetTickCount();
    m_framesPlayed = 0;
    return true;
}

void DravoRenderer::ReleaseGL()
{
    if (m_drawer) {
        // Textures go while their context is current, before the context.
        WGLView* view = m_drawer->View();
        if (view && m_window) {
            HDC dc = GetDC(m_window);
            if (view->MakeCurrent(dc)) {
                m_drawer->FreeTextures();
                view->Done();
            }
            ReleaseDC(m_window, dc);
        }
        delete m_drawer;
        m_drawer = nullptr;
    } else {
        delete m_glView;
    }
    m_glView = nullptr;
}

void DravoRenderer::Close()
{
    ReleaseGL();
    delete m_player;
    m_player = nullptr;
    m_movieVersion = 0;
}

int DravoRenderer::GetState() const
{
    if (!m_player || !m_drawer || !m_player->MainClip())
        return kPVStateNone;
    // The root clip loops, so it never ends.
    return m_player->MainClip()->IsPlaying() ? kPVStatePlaying : kPVStatePaused;
}

void DravoRenderer::SetPlaying(bool on)
{
    PVMovieClip* clip = m_player ? m_player->MainClip() : nullptr;
    if (!clip || clip->IsPlaying() == on)
        return;
    if (on) {
        // Pacing starts afresh: time spent paused is not caught up.
        m_playStartTick = GetTickCount();
        m_framesPlayed = 0;
    }
    clip->SetPlaying(on);
    if (m_feedback)
        m_feedback->StateChanged();
}

void DravoRenderer::TogglePlay()
{
    if (m_player && m_player->MainClip())
        SetPlaying(!m_player->MainClip()->IsPlaying());
}

void DravoRenderer::Rewind()
{
    if (m_player && m_player->MainClip())
        m_player->MainClip()->Rewind();
    if (m_feedback)
        m_feedback->StateChanged();
}

void DravoRenderer::SetFeedback(PVUIFeedBack* feedback)
{
    if (feedback == m_feedback)
        return;
    m_feedback = feedback;
    if (m_player && m_feedback)
        m_feedback->SetFrameCount(uint16_t(m_player->GetFrameCount()));
}

void DravoRenderer::SetPlayAsFastAsPossible(bool on)
{
    if (on == m_playAsFastAsPossible)
        return;
    m_playAsFastAsPossible = on;
    if (!on) {
        m_playStartTick = GetTickCount();
        m_framesPlayed = 0;
    }
    if (m_player)
        m_player->EnableSound(!on);
}

bool DravoRenderer::IsOutlines() const
{
    return m_drawer && m_drawer->OutlinesOnly();
}

void DravoRenderer::SetOutlines(bool on)
{
    if (m_drawer)
        m_drawer->SetOutlines(on, false);
}

bool DravoRenderer::IsBWOutlines() const
{
    return m_drawer && m_drawer->OutlinesOnly() && m_drawer->BlackAndWhite();
}

void DravoRenderer::SetBWOutlines(bool on)
{
    if (m_drawer)
        m_drawer->SetOutlines(on, on);
}

int DravoRenderer::GetViewMode() const
{
    return m_drawer ? m_drawer->ViewMode() : PVGLDraw::kNormal;
}

void DravoRenderer::SetViewMode(int mode)
{
    if (m_drawer)
        m_drawer->SetViewMode(mode);
}

float DravoRenderer::Rate() const
{
    float rate = m_player ? m_player->FrameRate() : 0;
    return rate > 0 ? rate : 0;
}

bool DravoRenderer::WaitForFrame(uint32_t now, bool streaming)
{
    if (m_playStartTick == 0) {
        m_playStartTick = now;
        m_framesPlayed = 0;
        return false;
    }
    if (m_playAsFastAsPossible || streaming)
        return false;
    const float rate = Rate();
    uint32_t due;
    if (rate > 0) {
        due = uint32_t(double(rate) * double(now - m_playStartTick) / 1000.0);
    } else {
        // Without a clock only the first frame after a start is shown.
        due = 1;
    }
    if (due != m_framesPlayed) {
        ++m_framesPlayed;
        return false;
    }
    if (GetViewMode() != PVGLDraw::kNormal) {
        // The 3D scene keeps turning between frames.
        m_drawer->Render(nullptr, m_mouseX, m_mouseY, false);
        Sleep(k3DRedrawMs);
    } else if (rate > 0) {
        DWORD sleep = DWORD(int(1000 / rate) / 5);
        Sleep(sleep < kMaxFrameCheckSleepMs ? sleep : kMaxFrameCheckSleepMs);
    }
    return true;
}

void DravoRenderer::PlayLoopStep()
{
    if (!m_player || !m_drawer) {
        Sleep(kNoMovieSleepMs);
        return;
    }
    PVMovieClip* clip = m_player->MainClip();
    const bool streaming = clip && clip->StreamInProgress();
    if (WaitForFrame(GetTickCount(), streaming))
        return;

    const bool draw = m_playAsFastAsPossible || !m_behindSound;
    bool buttonEvent;
    if (GetViewMode() != PVGLDraw::kNormal)
        buttonEvent = m_player->Step(m_drawer, -1, -1, false, draw);
    else
        buttonEvent = m_player->Step(m_drawer, m_mouseX, m_mouseY, m_leftButtonDown, draw);

    clip = m_player->MainClip();
    if (!m_playAsFastAsPossible && clip && clip->StreamInProgress() && !buttonEvent)
        SyncToSound(GetTickCount());
    ReportFrame(GetTickCount());
}

void DravoRenderer::SyncToSound(uint32_t now)
{
    PVMovieClip* clip = m_player->MainClip();
    const float rate = Rate();
    if (rate <= 0)
        return;
    uint16_t frames = uint16_t(clip->CurrentFrame() - clip->StreamStartFrame());
    int expected = int(float(frames) / rate * 1000.0f + 0.5f);
    int elapsed = int(now - clip->StreamStartTick());
    if (expected > elapsed) {
        m_behindSound = false;
        int ahead = expected - elapsed;
        Sleep(ahead > 1000 ? 50 : DWORD(ahead));
    } else {
        m_behindSound = true;
    }
}

void DravoRenderer::ReportFrame(uint32_t now)
{
    if (!m_feedback)
        return;
    uint32_t elapsed = now - m_fpsWindowStart;
    if (m_fpsWindowStart == 0 || (elapsed > 4000 && m_fpsWindowFrames > 0)) {
        m_fpsWindowStart = now;
        m_fpsWindowFrames = 0;
    } else {
        ++m_fpsWindowFrames;
        if (elapsed != 0)
            m_feedback->SetFrameRate(uint32_t(uint64_t(m_fpsWindowFrames) * 100000 / elapsed));
    }
    m_feedback->SetCurrentFrame(uint16_t(m_player->GetCurrentFrame()));
}

DWORD DravoRenderer::IdleWaitMs() const
{
    if (!m_player || !m_drawer)
        return INFINITE;
    if (GetViewMode() != PVGLDraw::kNormal)
        return k3DRedrawMs;
    if (GetState() != kPVStatePlaying)
        return INFINITE;
    PVMovieClip* clip = m_player->MainClip();
    if (m_playStartTick == 0 || m_playAsFastAsPossible || (clip && clip->StreamInProgress()))
        return 0;
    const float rate = Rate();
    if (rate <= 0)
        return m_framesPlayed == 0 ? 0 : INFINITE;
    double next = double(m_framesPlayed + 1) * 1000.0 / double(rate);
    double waited = double(GetTickCount() - m_playStartTick);
    if (next <= waited)
        return 0;
    double wait = next - waited + 1;
    return wait > 60000 ? 60000 : DWORD(wait);
}

HCURSOR DravoRenderer::CursorForPointer()
{
    if (m_player && m_player->ButtonUnderMouse())
        return m_buttonCursor;
    return m_arrowCursor;
}

void DravoRenderer::HandleMouse(int button, POINT screenPoint, int action, WPARAM keyFlags, bool fromOwnWindow)
{
    PVRendererWindow::HandleMouse(button, screenPoint, action, keyFlags, fromOwnWindow);
    if (GetViewMode() != PVGLDraw::kNormal && m_drawer) {
        float rx = float(screenPoint.x) / float(m_clientWidth ? m_clientWidth : 1);
        float ry = float(screenPoint.y) / float(m_clientHeight ? m_clientHeight : 1);
        if (button == 1 && action == 0) {
            m_drawer->BeginViewDrag(rx, ry, (keyFlags & MK_CONTROL) != 0);
            SetCapture(m_window);
            m_captured = true;
        } else if (action == 1 && m_leftButtonDown) {
            m_drawer->UpdateViewDrag(rx, ry);
        } else if (button == 1 && action == 2) {
            m_drawer->EndViewDrag();
            if (m_captured)
                ReleaseCapture();
            m_captured = false;
        }
        return;
    }
    if (!fromOwnWindow || button != 1)
        return;
    if (action == 0 && !m_captured) {
        SetCapture(m_window);
        m_captured = true;
    } else if (action == 2 && m_captured) {
        m_captured = false;
        ReleaseCapture();
    }
}

void DravoRenderer::OnEnterMenuLoop()
{
    if (!m_player)
        return;
    s_wasPlayingBeforeMenu = GetState() == kPVStatePlaying;
    SetPlaying(false);
}

void DravoRenderer::OnExitMenuLoop()
{
    if (m_player && s_wasPlayingBeforeMenu)
        TogglePlay();
}

LRESULT DravoRenderer::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(m_window, &paint);
        if (m_drawer) {
            m_drawer->Render(dc, -1, -1, true);
        } else {
            RECT client;
            GetClientRect(m_window, &client);
            FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        }
        EndPaint(m_window, &paint);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_DESTROY:
        Close();
        return PVRendererWindow::OnMessage(message, wParam, lParam);
    case WM_ENTERMENULOOP:
        OnEnterMenuLoop();
        return 0;
    case WM_EXITMENULOOP:
        OnExitMenuLoop();
        return 0;
    case MM_WOM_DONE:
        if (m_player)
            m_player->OnWaveOutDone(reinterpret_cast<HWAVEOUT>(wParam), reinterpret_cast<WAVEHDR*>(lParam));
        return 0;
    default:
        return PVRendererWindow::OnMessage(message, wParam, lParam);
    }
}
