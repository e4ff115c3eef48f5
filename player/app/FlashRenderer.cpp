#include "player/app/FlashRenderer.h"

#include "player/app/PVUIFeedBack.h"
#include "player/app/framework/MKCFlashWnd.h"
#include "player/engine/PVInFileStream.h"
#include "player/engine/PVMovieParser.h"

#include <new>

namespace {

const char kClassName[] = "__swf_rclass";

}  // namespace

FlashRenderer::FlashRenderer(HINSTANCE instance, HINSTANCE resources)
    : PVRendererWindow(instance, resources, kClassName)
{
}

FlashRenderer::~FlashRenderer()
{
    DestroyControl();
}

bool FlashRenderer::Create(const char* windowName, HWND parentView)
{
    return PVRendererWindow::Create(windowName, parentView, RECT{0, 0, 0, 0});
}

bool FlashRenderer::Load(const char* path)
{
    DestroyControl();
    PVInFileStream stream;
    if (!path || !stream.Open(path))
        return false;
    PVMovieParser parser;
    PVRect rect;
    float rate = 0;
    uint16_t frames = 0;
    if (!parser.ReadHeader(stream, rect, rate, frames))
        return false;
    m_frameRate = rate;
    m_frameCount = frames;
    m_width = (rect.xmax - rect.xmin) / 20;
    m_height = (rect.ymax - rect.ymin) / 20;
    m_version = parser.Version();
    m_compressed = parser.IsCompressed();

    MKCFlashWnd* flash = new (std::nothrow) MKCFlashWnd();
    if (!flash || !flash->Create(nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER, RECT{0, 0, 0, 0}, m_window, 0)) {
        delete flash;
        return false;
    }
    m_flashWindow = flash;
    // "~" first: the control then loads the path even when it names the movie
    // it showed before.
    flash->SetMovie("~");
    flash->SetMovie(path);
    m_placedWidth = m_placedHeight = 0;
    m_aspect = m_height > 0 ? float(m_width) / float(m_height) : 4.0f / 3.0f;
    Layout(m_clientWidth, m_clientHeight);
    if (m_feedback)
        m_feedback->SetFrameCount(m_frameCount);
    return true;
}

void FlashRenderer::DestroyControl()
{
    if (!m_flashWindow)
        return;
    delete m_flashWindow;
    m_flashWindow = nullptr;
}

bool FlashRenderer::IsPlaying()
{
    return m_flashWindow && m_flashWindow->GetPlaying();
}

int FlashRenderer::GetState()
{
    if (!m_flashWindow)
        return kPVStateNone;
    return IsPlaying() ? kPVStatePlaying : kPVStatePaused;
}

void FlashRenderer::SetPlaying(bool on)
{
    if (!m_flashWindow || IsPlaying() == on)
        return;
    if (on) {
        m_fpsWindowStart = 0;
        m_flashWindow->Play();
    } else {
        m_flashWindow->Stop();
    }
    if (m_feedback)
        m_feedback->StateChanged();
}

void FlashRenderer::TogglePlay()
{
    if (m_flashWindow)
        SetPlaying(!IsPlaying());
}

void FlashRenderer::Seek(int frame)
{
    if (!m_flashWindow)
        return;
    if (frame > m_frameCount)
        frame = m_frameCount;
    m_flashWindow->GotoFrame(frame);
    m_fpsWindowStart = 0;
    if (m_feedback) {
        m_feedback->StateChanged();
        m_feedback->SetCurrentFrame(uint16_t(frame));
    }
}

void FlashRenderer::SetLooping(bool on)
{
    if (m_flashWindow)
        m_flashWindow->SetLoop(on);
}

uint16_t FlashRenderer::GetCurrentFrame()
{
    return m_flashWindow ? uint16_t(m_flashWindow->CurrentFrame()) : 0;
}

void FlashRenderer::SetFeedback(PVUIFeedBack* feedback)
{
    if (feedback == m_feedback)
        return;
    m_feedback = feedback;
    if (m_flashWindow && m_feedback)
        m_feedback->SetFrameCount(m_frameCount);
}

MKString FlashRenderer::GetPlayerVersionText()
{
    return m_flashWindow ? m_flashWindow->GetVersionText() : MKString();
}

void FlashRenderer::Layout(int cx, int cy)
{
    bool changed = Fit(cx, cy);
    if (cx == 0 || cy == 0 || !m_window)
        return;
    SetWindowPos(m_window, nullptr, m_placedX, m_placedY, m_placedWidth, m_placedHeight,
                 SWP_ASYNCWINDOWPOS | SWP_NOSENDCHANGING | SWP_NOCOPYBITS | SWP_NOZORDER);
    if (m_flashWindow && m_flashWindow->GetSafeHwnd()) {
        MoveWindow(m_flashWindow->GetSafeHwnd(), 0, 0, m_placedWidth, m_placedHeight, TRUE);
        m_flashWindow->Move(RECT{0, 0, m_placedWidth, m_placedHeight});
    }
    if (changed && IsFullScreen())
        FillBlack();
}

void FlashRenderer::IdleStep()
{
    if (!m_flashWindow) {
        Sleep(30);
        return;
    }
    if (!m_feedback || !IsPlaying())
        return;
    uint32_t now = GetTickCount();
    uint32_t elapsed = now - m_fpsWindowStart;
    uint32_t frame = GetCurrentFrame();
    if (m_fpsWindowStart != 0 && (elapsed <= 2000 || m_fpsWindowFrame == 0) && frame > m_fpsWindowFrame &&
        elapsed != 0) {
        m_feedback->SetFrameRate(uint32_t(uint64_t(frame - m_fpsWindowFrame) * 100000 / elapsed));
        m_feedback->SetCurrentFrame(uint16_t(frame));
        return;
    }
    // A new measuring window: every 2 s, and at once when the movie loops.
    m_fpsWindowFrame = frame;
    m_fpsWindowStart = now;
    m_feedback->SetFrameRate(0);
    m_feedback->SetCurrentFrame(uint16_t(frame));
}

void FlashRenderer::HandleMouse(int button, POINT screenPoint, int action, WPARAM keyFlags, bool fromOwnWindow)
{
    HCURSOR before = m_cursor;
    PVRendererWindow::HandleMouse(button, screenPoint, action, keyFlags, fromOwnWindow);
    // Without a control the cursor stays as it was.
    if (!m_flashWindow)
        m_cursor = before;
}

LRESULT FlashRenderer::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(m_window, &paint);
        if (!m_flashWindow)
            FillRect(dc, &paint.rcPaint, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        EndPaint(m_window, &paint);
        return 0;
    }
    case WM_DESTROY:
        DestroyControl();
        return PVRendererWindow::OnMessage(message, wParam, lParam);
    case WM_ENTERMENULOOP:
    case WM_EXITMENULOOP:
        return 0;
    default:
        return PVRendererWindow::OnMessage(message, wParam, lParam);
    }
}
