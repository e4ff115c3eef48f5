#include "player/app/CDravoPlayerView.h"

#include "player/app/DravoAboutDlg.h"
#include "player/app/DravoRenderer.h"
#include "player/app/FlashRenderer.h"
#include "player/app/OpenUrl.h"
#include "player/app/PVMoviePropertiesDlg.h"
#include "player/app/PVPlayerCommands.h"
#include "player/app/PVUIFeedBack.h"
#include "player/app/PVViewHost.h"
#include "player/app/framework/MKCFlashWnd.h"
#include "player/app/framework/MKProfile.h"
#include "player/app/framework/MKWaitCursor.h"
#include "player/engine/PVMovieClip.h"
#include "player/engine/PVMp3DecoderCache.h"
#include "player/engine/PVPlayer.h"

#include <windowsx.h>

namespace {

const char kViewClass[] = "DravoPlayerView";
const char kSettings[] = "Settings";

bool IsFullScreenCallback(void*)
{
    return CDravoPlayerView::IsFullScreen();
}

}  // namespace

bool CDravoPlayerView::s_fullScreen = false;
bool CDravoPlayerView::s_wasZoomed = false;
bool CDravoPlayerView::s_toolBarWasVisible = false;
bool CDravoPlayerView::s_statusBarWasVisible = false;
LONG CDravoPlayerView::s_savedViewExStyle = 0;
bool CDravoPlayerView::s_mp3CacheNotYetOpened = true;

CDravoPlayerView::CDravoPlayerView(HINSTANCE instance, PVViewHost* host)
    : m_instance(instance),
      m_host(host),
      m_engineRenderer(new DravoRenderer(instance, instance)),
      m_flashRenderer(new FlashRenderer(instance, instance))
{
    m_engineRenderer->SetMargins(10, 10);
    m_flashRenderer->SetMargins(10, 10);
    m_engineRenderer->SetFullScreenCallbacks(this, &CDravoPlayerView::ToggleFullScreen, &IsFullScreenCallback);
    m_flashRenderer->SetFullScreenCallbacks(this, &CDravoPlayerView::ToggleFullScreen, &IsFullScreenCallback);
    m_looping = MKProfile::GetInt(kSettings, "looping", 0) != 0;
}

CDravoPlayerView::~CDravoPlayerView()
{
    delete m_engineRenderer;
    delete m_flashRenderer;
    if (m_window)
        DestroyWindow(m_window);
}

bool CDravoPlayerView::Create(HWND parent, const char* windowName)
{
    WNDCLASSA existing;
    if (!GetClassInfoA(m_instance, kViewClass, &existing)) {
        WNDCLASSA windowClass = {};
        windowClass.style = CS_HREDRAW | CS_VREDRAW;
        windowClass.lpfnWndProc = &WindowProc;
        windowClass.hInstance = m_instance;
        windowClass.lpszClassName = kViewClass;
        if (!RegisterClassA(&windowClass))
            return false;
    }
    m_windowName = windowName ? windowName : "";
    m_window = CreateWindowExA(WS_EX_CLIENTEDGE, kViewClass, m_windowName.GetText(),
                               WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 0, parent,
                               reinterpret_cast<HMENU>(UINT_PTR(kViewWindowId)), m_instance, this);
    return m_window != nullptr;
}

LRESULT CALLBACK CDravoPlayerView::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        static_cast<CDravoPlayerView*>(create->lpCreateParams)->m_window = window;
    }
    auto* view = reinterpret_cast<CDravoPlayerView*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!view)
        return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        view->m_window = nullptr;
        return DefWindowProcA(window, message, wParam, lParam);
    }
    return view->OnMessage(message, wParam, lParam);
}

PVRendererWindow* CDravoPlayerView::ActiveRenderer() const
{
    if (m_useFlash)
        return m_flashRenderer;
    return m_engineRenderer;
}

LRESULT CDravoPlayerView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(m_window, &paint);
        RECT client;
        GetClientRect(m_window, &client);
        FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        EndPaint(m_window, &paint);
        return 0;
    }
    case WM_SIZE:
        ActiveRenderer()->Layout(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_DESTROY:
        m_engineRenderer->Close();
        if (m_flashRenderer->GetSafeHwnd())
            DestroyWindow(m_flashRenderer->GetSafeHwnd());
        MKProfile::WriteInt(kSettings, "looping", m_looping ? 1 : 0);
        return 0;
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wParam) != m_window)
            return FALSE;
        if (!MKWaitCursor::Restore())
            SetCursor(ActiveRenderer()->CurrentCursor());
        return TRUE;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: {
        POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ClientToScreen(m_window, &point);
        ActiveRenderer()->HandleMouse(message == WM_LBUTTONDOWN ? 1 : 3, point, 0, 0, false);
        return 0;
    }
    default:
        return DefWindowProcA(m_window, message, wParam, lParam);
    }
}

void CDravoPlayerView::OnEnterMenuLoop()
{
    if (!m_useFlash)
        m_engineRenderer->OnEnterMenuLoop();
}

void CDravoPlayerView::OnExitMenuLoop()
{
    if (!m_useFlash)
        m_engineRenderer->OnExitMenuLoop();
}

void CDravoPlayerView::OnInitialUpdate()
{
    m_host->ShowMainWindow();
    m_host->SetMessageText("Loading...\n");
    InvalidateRect(m_window, nullptr, TRUE);
    UpdateWindow(m_window);
    const char* path = m_host->DocumentPath();
    if (!path || !*path) {
        CloseMovie();
    } else {
        Open(path);
    }
    PVUIFeedBack* feedback = m_host->BindFeedback(this);
    if (feedback) {
        feedback->StateChanged();
        feedback->SetCurrentFrame(0);
        feedback->SetFrameRate(0);
    }
}

int CDravoPlayerView::Open(const char* path)
{
    MKWaitCursor::Begin();
    RECT client;
    GetClientRect(m_window, &client);
    PVRendererWindow* active = ActiveRenderer();
    PVRendererWindow* other = m_useFlash ? static_cast<PVRendererWindow*>(m_engineRenderer) : m_flashRenderer;
    if (!active->GetSafeHwnd()) {
        bool made = m_useFlash ? m_flashRenderer->Create(m_windowName.GetText(), m_window)
                               : m_engineRenderer->Create(m_windowName.GetText(), m_window);
        if (!made) {
            MKWaitCursor::End();
            return -1;
        }
        active->Layout(client.right, client.bottom);
    } else {
        ShowWindow(active->GetSafeHwnd(), SW_SHOW);
    }

    bool loaded;
    if (m_useFlash) {
        loaded = m_flashRenderer->Load(path);
        m_flashRenderer->SetLooping(m_looping);
    } else {
        m_engineRenderer->SetLooping(m_looping);
        loaded = m_engineRenderer->LoadFile(path);
    }
    if (other->GetSafeHwnd())
        ShowWindow(other->GetSafeHwnd(), SW_HIDE);
    if (loaded)
        ResizeFrameToMovie();
    else
        MessageBoxA(m_window, "Unable to open movie", nullptr, MB_OK | MB_ICONERROR);
    if (m_useFlash)
        m_flashRenderer->SetPlaying(true);
    else
        m_engineRenderer->SetPlaying(true);
    MKWaitCursor::End();
    return loaded ? 1 : 0;
}

void CDravoPlayerView::ResizeFrameToMovie()
{
    int width = 0;
    int height = 0;
    GetMovieSize(width, height);
    HWND frame = m_host->MainWindow();
    if (width <= 0 || height <= 0 || !frame || IsIconic(frame) || IsZoomed(frame))
        return;
    // The frame grows by what lies around the view's client area now
    // (caption, menu, borders, tool bar, status bar, the view's edge), so the
    // view gets the movie's size plus the renderer's margins and the movie
    // shows at its own size, whatever those bars measure here.
    int left, right, top, bottom;
    ActiveRenderer()->GetMargins(left, right, top, bottom);
    RECT frameRect, viewClient;
    GetWindowRect(frame, &frameRect);
    GetClientRect(m_window, &viewClient);
    RECT work = {0, 0, GetSystemMetrics(SM_CXFULLSCREEN), GetSystemMetrics(SM_CYFULLSCREEN)};
    int frameWidth = width + left + right + (frameRect.right - frameRect.left) - viewClient.right;
    int frameHeight = height + top + bottom + (frameRect.bottom - frameRect.top) - viewClient.bottom;
    if (frameWidth > work.right)
        frameWidth = work.right;
    if (frameHeight > work.bottom)
        frameHeight = work.bottom;
    WINDOWPLACEMENT placement = {sizeof placement};
    GetWindowPlacement(frame, &placement);
    placement.rcNormalPosition.right = placement.rcNormalPosition.left + frameWidth;
    placement.rcNormalPosition.bottom = placement.rcNormalPosition.top + frameHeight;
    SetWindowPlacement(frame, &placement);
}

void CDravoPlayerView::CloseMovie()
{
    if (m_useFlash)
        m_flashRenderer->DestroyControl();
    else
        m_engineRenderer->Close();
}

int CDravoPlayerView::GetState() const
{
    int state = m_useFlash ? m_flashRenderer->GetState() : m_engineRenderer->GetState();
    switch (state) {
    case 1:
        return kPVStateStopped;
    case 2:
        return GetCurrentFrame() != 0 ? kPVStatePaused : kPVStateStopped;
    case 3:
        return kPVStatePlaying;
    case 4:
        return kPVStateEnded;
    default:
        return kPVStateNone;
    }
}

double CDravoPlayerView::GetFrameRate() const
{
    if (m_useFlash)
        return m_flashRenderer->HasControl() ? m_flashRenderer->FrameRate() : 12.0;
    return m_engineRenderer->Player() ? m_engineRenderer->Player()->FrameRate() : 12.0;
}

int CDravoPlayerView::GetFrameCount() const
{
    if (m_useFlash)
        return m_flashRenderer->FrameCount();
    return m_engineRenderer->Player() ? uint16_t(m_engineRenderer->Player()->GetFrameCount()) : 0;
}

uint16_t CDravoPlayerView::GetCurrentFrame() const
{
    if (m_useFlash)
        return m_flashRenderer->GetCurrentFrame();
    PVPlayer* player = m_engineRenderer->Player();
    return player && player->MainClip() ? uint16_t(player->MainClip()->CurrentFrame()) : 0;
}

void CDravoPlayerView::GetMovieSize(int& width, int& height) const
{
    width = height = 0;
    if (m_useFlash) {
        width = m_flashRenderer->Width();
        height = m_flashRenderer->Height();
    } else if (PVPlayer* player = m_engineRenderer->Player()) {
        width = (player->FrameRect().xmax - player->FrameRect().xmin) / 20;
        height = (player->FrameRect().ymax - player->FrameRect().ymin) / 20;
    }
}

int CDravoPlayerView::GetMovieVersion() const
{
    return m_useFlash ? m_flashRenderer->Version() : m_engineRenderer->MovieVersion();
}

void CDravoPlayerView::Pause()
{
    if (m_useFlash)
        m_flashRenderer->SetPlaying(false);
    else
        m_engineRenderer->SetPlaying(false);
}

void CDravoPlayerView::TogglePlay()
{
    if (m_useFlash)
        m_flashRenderer->SetPlaying(!m_flashRenderer->IsPlaying());
    else
        m_engineRenderer->TogglePlay();
}

void CDravoPlayerView::OnStop()
{
    if (m_useFlash) {
        Pause();
        Seek(0);
    } else {
        m_engineRenderer->SetPlaying(false);
        m_engineRenderer->Rewind();
    }
    if (s_fullScreen)
        ActiveRenderer()->OnFullScreenCommand();
}

void CDravoPlayerView::Seek(int frame)
{
    if (m_useFlash) {
        // The renderer reports the state and the frame; the rate restarts.
        m_flashRenderer->Seek(frame);
        if (m_flashRenderer->HasControl() && m_feedback)
            m_feedback->SetFrameRate(0);
        return;
    }
    PVPlayer* player = m_engineRenderer->Player();
    if (!player || !player->MainClip())
        return;
    int count = player->GetFrameCount();
    player->MainClip()->Seek(frame < count ? frame : count);
    if (m_feedback)
        m_feedback->StateChanged();
}

void CDravoPlayerView::SetFeedback(PVUIFeedBack* feedback)
{
    m_feedback = feedback;
    m_engineRenderer->SetFeedback(feedback);
    m_flashRenderer->SetFeedback(feedback);
}

bool CDravoPlayerView::IdleStep()
{
    if (m_useFlash)
        m_flashRenderer->IdleStep();
    else
        m_engineRenderer->PlayLoopStep();
    return true;
}

DWORD CDravoPlayerView::IdleWaitMs() const
{
    if (!m_useFlash)
        return m_engineRenderer->IdleWaitMs();
    // The control plays on its own clock: its frame is polled a few times
    // per frame while it plays.
    if (!m_flashRenderer->HasControl() || !m_flashRenderer->IsPlaying())
        return INFINITE;
    float rate = m_flashRenderer->FrameRate();
    return rate > 0 ? DWORD(int(1000 / rate) / 5) : 30;
}

bool CDravoPlayerView::ToggleFullScreen(void* argument)
{
    auto* view = static_cast<CDravoPlayerView*>(argument);
    HWND frame = view ? view->m_host->MainWindow() : nullptr;
    if (!frame)
        return s_fullScreen;
    if (!s_fullScreen)
        view->EnterFullScreen(frame);
    else
        view->LeaveFullScreen(frame);
    view->m_host->RecalcLayout();
    return s_fullScreen;
}

void CDravoPlayerView::EnterFullScreen(HWND frame)
{
    s_fullScreen = true;
    HWND toolBar = m_host->ToolBarWindow();
    HWND statusBar = m_host->StatusBarWindow();
    s_toolBarWasVisible = toolBar && IsWindowVisible(toolBar);
    s_statusBarWasVisible = statusBar && IsWindowVisible(statusBar);
    if (toolBar)
        ShowWindow(toolBar, SW_HIDE);
    if (statusBar)
        ShowWindow(statusBar, SW_HIDE);
    s_wasZoomed = IsZoomed(frame) != FALSE;
    ShowWindow(frame, SW_SHOWMAXIMIZED);
    SetWindowLongA(frame, GWL_STYLE, GetWindowLongA(frame, GWL_STYLE) & ~(WS_CAPTION | WS_THICKFRAME));
    s_savedViewExStyle = GetWindowLongA(m_window, GWL_EXSTYLE);
    SetWindowLongA(m_window, GWL_EXSTYLE, s_savedViewExStyle & ~WS_EX_CLIENTEDGE);
    HMENU menu = GetMenu(frame);
    SetMenu(frame, nullptr);
    if (menu)
        DestroyMenu(menu);
    SetWindowPos(frame, HWND_TOPMOST, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                 SWP_FRAMECHANGED);
}

void CDravoPlayerView::LeaveFullScreen(HWND frame)
{
    s_fullScreen = false;
    ShowWindow(frame, s_wasZoomed ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    SetWindowLongA(frame, GWL_STYLE, GetWindowLongA(frame, GWL_STYLE) | WS_CAPTION | WS_THICKFRAME);
    SetWindowLongA(m_window, GWL_EXSTYLE, s_savedViewExStyle);
    SetWindowPos(frame, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_FRAMECHANGED);
    SetWindowPos(m_window, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    SetMenu(frame, LoadMenuA(m_instance, MAKEINTRESOURCEA(kResMain)));
    if (s_toolBarWasVisible && m_host->ToolBarWindow())
        ShowWindow(m_host->ToolBarWindow(), SW_SHOW);
    if (s_statusBarWasVisible && m_host->StatusBarWindow())
        ShowWindow(m_host->StatusBarWindow(), SW_SHOW);
    m_host->ShowGoodiesMenu(m_useFlash);
}

void CDravoPlayerView::SetUseFlashActiveX(bool useFlash)
{
    if (useFlash == m_useFlash)
        return;
    if (!useFlash && s_mp3CacheNotYetOpened) {
        s_mp3CacheNotYetOpened = false;
        OpenMp3DecoderCache();
    }
    m_useFlash = useFlash;
    m_host->ShowGoodiesMenu(m_useFlash);
    MKString path = m_host->DocumentPath();
    if (path.IsEmpty())
        return;
    // The movie closes in the renderer it played in and opens in the other.
    m_useFlash = !useFlash;
    m_host->NewDocument();
    m_useFlash = useFlash;
    m_host->OpenDocument(path.GetText());
}

bool CDravoPlayerView::OnCommand(UINT id)
{
    switch (id) {
    case kCmdMovieProperties:
        ShowProperties();
        return true;
    case kCmdUseEngine:
        SetUseFlashActiveX(!m_useFlash);
        return true;
    case kCmdFullScreen:
        ActiveRenderer()->OnFullScreenCommand();
        return true;
    case kCmdRewind:
        Rewind();
        return true;
    case kCmdLooping:
        m_looping = !m_looping;
        if (m_useFlash)
            m_flashRenderer->SetLooping(m_looping);
        else
            m_engineRenderer->SetLooping(m_looping);
        return true;
    case kCmdWebPage:
        OpenUrl(kMakerWebPage);
        return true;
    case kCmdAbout:
        ShowAbout();
        return true;
    default:
        return false;
    }
}

bool CDravoPlayerView::OnUpdateCommand(UINT id, MKCommandState& state)
{
    const char* path = m_host->DocumentPath();
    const bool movie = path && *path;
    switch (id) {
    case kCmdMovieProperties:
    case kCmdRewind:
        state.enabled = movie;
        return true;
    case kCmdLooping:
        state.enabled = movie;
        state.checked = m_looping;
        return true;
    case kCmdUseEngine:
        state.enabled = true;
        state.checked = !m_useFlash;
        return true;
    default:
        return false;
    }
}

void CDravoPlayerView::ShowProperties()
{
    PVMoviePropertiesDlg dialog(this, m_host->DocumentPath(), m_host->MainWindow());
    dialog.DoModal();
}

void CDravoPlayerView::ShowAbout()
{
    DravoAboutDlg dialog(m_host->MainWindow());
    dialog.DoModal();
}
