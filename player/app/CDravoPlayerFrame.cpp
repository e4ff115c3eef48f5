#include "player/app/CDravoPlayerFrame.h"

#include "player/app/CDravoPlayerView.h"
#include "player/app/PVPlayerCommands.h"
#include "player/app/PVUIFeedBack.h"
#include "player/app/PVViewHost.h"
#include "player/app/PVWndPlacement.h"
#include "player/app/framework/MKProfile.h"
#include "player/app/framework/MKWaitCursor.h"

#include <commctrl.h>
#include <shellapi.h>

namespace {

const char kFrameClass[] = "DravoPlayerMain";
const char kSettings[] = "Settings";
const UINT kToolBarId = 59392;
const UINT kStatusBarId = 59393;

MKString LoadText(HINSTANCE instance, UINT id)
{
    char text[256];
    int length = LoadStringA(instance, id, text, sizeof text);
    return MKString::MKStringFromChars(text, length > 0 ? length : 0);
}

}  // namespace

bool CDravoPlayerFrame::s_wasPlayingBeforeSizeMove = false;

CDravoPlayerFrame::CDravoPlayerFrame(HINSTANCE instance, PVViewHost* host, MKCommandTarget* application)
    : m_instance(instance), m_host(host), m_application(application)
{
}

CDravoPlayerFrame::~CDravoPlayerFrame()
{
    if (m_window)
        DestroyWindow(m_window);
    delete m_view;
}

bool CDravoPlayerFrame::Create(const PVWndPlacement& placement)
{
    WNDCLASSA existing;
    if (!GetClassInfoA(m_instance, kFrameClass, &existing)) {
        WNDCLASSA windowClass = {};
        windowClass.style = CS_DBLCLKS;
        windowClass.lpfnWndProc = &WindowProc;
        windowClass.hInstance = m_instance;
        windowClass.hIcon = LoadIconA(m_instance, MAKEINTRESOURCEA(kResMain));
        windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = kFrameClass;
        if (!RegisterClassA(&windowClass))
            return false;
    }
    int x = CW_USEDEFAULT, y = CW_USEDEFAULT, cx = 400, cy = 300;
    if (placement.IsValid()) {
        const RECT& normal = placement.Placement().rcNormalPosition;
        x = normal.left;
        y = normal.top;
        cx = normal.right - normal.left;
        cy = normal.bottom - normal.top;
    }
    m_accelerators = LoadAcceleratorsA(m_instance, MAKEINTRESOURCEA(kResMain));
    MKString title = LoadText(m_instance, kStrTitle);
    m_window = CreateWindowExA(WS_EX_ACCEPTFILES, kFrameClass, title.GetText(),
                               WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, x, y, cx, cy, nullptr,
                               LoadMenuA(m_instance, MAKEINTRESOURCEA(kResMain)), m_instance, this);
    return m_window != nullptr;
}

LRESULT CALLBACK CDravoPlayerFrame::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        static_cast<CDravoPlayerFrame*>(create->lpCreateParams)->m_window = window;
    }
    auto* frame = reinterpret_cast<CDravoPlayerFrame*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!frame)
        return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        frame->m_window = nullptr;
        return DefWindowProcA(window, message, wParam, lParam);
    }
    return frame->OnMessage(message, wParam, lParam);
}

int CDravoPlayerFrame::OnCreate()
{
    static const UINT kPanes[] = {kPVPaneRate, kPVPaneFrame, kPVPaneTime};
    MKString samples[3];
    const char* sampleTexts[3];
    for (int i = 0; i < 3; ++i) {
        samples[i] = LoadText(m_instance, kPanes[i]);
        sampleTexts[i] = samples[i].GetText();
    }
    if (!m_statusBar.Create(m_window, kPanes, sampleTexts, 3))
        return -1;
    SetWindowLongPtrA(m_statusBar.GetSafeHwnd(), GWLP_ID, kStatusBarId);
    for (UINT pane : kPanes)
        m_statusBar.SetPaneText(pane, "");
    if (!m_toolBar.Create(m_window, kToolBarId, CCS_BOTTOM | CCS_NOPARENTALIGN))
        return -1;
    m_view = new CDravoPlayerView(m_instance, m_host);
    if (!m_view->Create(m_window, nullptr))
        return -1;
    if (MKProfile::GetInt(kSettings, "StatusBar", 1) == 0)
        ShowWindow(m_statusBar.GetSafeHwnd(), SW_HIDE);
    if (MKProfile::GetInt(kSettings, "ToolBar", 1) == 0)
        ShowWindow(m_toolBar.GetSafeHwnd(), SW_HIDE);
    RecalcLayout();
    return 0;
}

void CDravoPlayerFrame::LinkBars()
{
    m_toolBar.Attach(m_view);
    m_toolBar.UpdateButtons();
    m_feedback.Attach(m_view, &m_toolBar, &m_statusBar);
    m_view->SetFeedback(&m_feedback);
    m_feedback.StateChanged();
    RecalcLayout();
}

void CDravoPlayerFrame::RecalcLayout()
{
    if (!m_window)
        return;
    RECT client;
    GetClientRect(m_window, &client);
    int bottom = client.bottom;
    HWND status = m_statusBar.GetSafeHwnd();
    if (status && IsWindowVisible(status)) {
        m_statusBar.Reposition();
        RECT r;
        GetWindowRect(status, &r);
        bottom -= r.bottom - r.top;
    }
    HWND tools = m_toolBar.GetSafeHwnd();
    if (tools && IsWindowVisible(tools)) {
        SendMessageA(tools, TB_AUTOSIZE, 0, 0);
        RECT r;
        GetWindowRect(tools, &r);
        int height = r.bottom - r.top;
        bottom -= height;
        MoveWindow(tools, 0, bottom, client.right, height, TRUE);
    }
    if (m_view && m_view->GetSafeHwnd())
        MoveWindow(m_view->GetSafeHwnd(), 0, 0, client.right, bottom > 0 ? bottom : 0, TRUE);
}

void CDravoPlayerFrame::SetMessageText(const char* text)
{
    m_statusBar.SetPaneText(0, text);
}

void CDravoPlayerFrame::UpdateTitle(const char* path)
{
    MKString title;
    const char* name = path && *path ? path : "";
    if (const char* slash = strrchr(name, '\\'))
        name = slash + 1;
    title.Format("%s - %s", *name ? name : "Untitled", LoadText(m_instance, kStrTitle).GetText());
    SetWindowTextA(m_window, title.GetText());
}

bool CDravoPlayerFrame::PreTranslateMessage(MSG& message)
{
    if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) {
        if (m_view)
            m_view->OnStop();
        return true;
    }
    return m_accelerators && m_window && TranslateAcceleratorA(m_window, m_accelerators, &message);
}

void CDravoPlayerFrame::OnClose()
{
    PVWndPlacement placement;
    placement.Capture(kSettings, m_window);
    MKProfile::WriteInt(kSettings, "StatusBar", IsWindowVisible(m_statusBar.GetSafeHwnd()) ? 1 : 0);
    MKProfile::WriteInt(kSettings, "ToolBar", IsWindowVisible(m_toolBar.GetSafeHwnd()) ? 1 : 0);
    DestroyWindow(m_window);
}

bool CDravoPlayerFrame::Route(UINT id)
{
    if (m_view && m_view->OnCommand(id))
        return true;
    if (OnCommand(id))
        return true;
    return m_application && m_application->OnCommand(id);
}

void CDravoPlayerFrame::ToggleBar(HWND bar)
{
    if (!bar)
        return;
    ShowWindow(bar, IsWindowVisible(bar) ? SW_HIDE : SW_SHOW);
    RecalcLayout();
}

bool CDravoPlayerFrame::OnCommand(UINT id)
{
    switch (id) {
    case kPVCommandPlay:
    case kPVCommandPause:
        if (m_view)
            m_view->TogglePlay();
        return true;
    case kPVCommandStop:
        if (m_view)
            m_view->OnStop();
        return true;
    case kCmdToolBar:
        ToggleBar(m_toolBar.GetSafeHwnd());
        return true;
    case kCmdStatusBar:
        ToggleBar(m_statusBar.GetSafeHwnd());
        return true;
    case kCmdExit:
        PostMessageA(m_window, WM_CLOSE, 0, 0);
        return true;
    default:
        return false;
    }
}

bool CDravoPlayerFrame::OnUpdateCommand(UINT id, MKCommandState& state)
{
    const char* path = m_host->DocumentPath();
    switch (id) {
    case kPVCommandPlay:
    case kPVCommandStop:
        state.enabled = path && *path;
        return true;
    case kCmdToolBar:
        state.checked = IsWindowVisible(m_toolBar.GetSafeHwnd()) != FALSE;
        return true;
    case kCmdStatusBar:
        state.checked = IsWindowVisible(m_statusBar.GetSafeHwnd()) != FALSE;
        return true;
    default:
        return false;
    }
}

void CDravoPlayerFrame::UpdateMenu(HMENU popup)
{
    int count = GetMenuItemCount(popup);
    for (int i = 0; i < count; ++i) {
        UINT id = GetMenuItemID(popup, i);
        if (id == 0 || id == UINT(-1))
            continue;
        MKCommandState state;
        if (!(m_view && m_view->OnUpdateCommand(id, state)) && !OnUpdateCommand(id, state) && m_application)
            m_application->OnUpdateCommand(id, state);
        EnableMenuItem(popup, i, MF_BYPOSITION | (state.enabled ? MF_ENABLED : MF_GRAYED));
        CheckMenuItem(popup, i, MF_BYPOSITION | (state.checked ? MF_CHECKED : MF_UNCHECKED));
    }
}

LRESULT CDravoPlayerFrame::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return OnCreate();
    case WM_SIZE:
        RecalcLayout();
        return 0;
    case WM_SETFOCUS:
        if (m_view && m_view->GetSafeHwnd())
            SetFocus(m_view->GetSafeHwnd());
        return 0;
    case WM_SETCURSOR:
        if (MKWaitCursor::Restore())
            return TRUE;
        break;
    case WM_COMMAND:
        if (lParam == 0 || HIWORD(wParam) == 0 || HIWORD(wParam) == 1 || HIWORD(wParam) == BN_CLICKED) {
            if (Route(LOWORD(wParam)))
                return 0;
        }
        break;
    case WM_INITMENUPOPUP:
        if (!HIWORD(lParam)) {
            if (m_application)
                m_application->OnInitMenuPopup(reinterpret_cast<HMENU>(wParam));
            UpdateMenu(reinterpret_cast<HMENU>(wParam));
        }
        return 0;
    case WM_MENUSELECT: {
        UINT id = LOWORD(wParam);
        if (HIWORD(wParam) == 0xFFFF && lParam == 0) {
            SetMessageText(LoadText(m_instance, kStrReady).GetText());
        } else if (!(HIWORD(wParam) & (MF_POPUP | MF_SEPARATOR))) {
            MKString prompt = LoadText(m_instance, id);
            int tip = prompt.FindChar('\n');
            SetMessageText((tip >= 0 ? prompt.Left(tip) : prompt).GetText());
        }
        return 0;
    }
    case WM_NOTIFY: {
        // The tool bar's tool tips: the prompt's text after its line break.
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->code != TTN_GETDISPINFOA && header->code != TTN_GETDISPINFOW)
            break;
        MKString prompt = LoadText(m_instance, static_cast<UINT>(header->idFrom));
        const int tip = prompt.FindChar('\n');
        const MKString text = tip >= 0 ? prompt.Mid(tip + 1) : MKString();
        if (header->code == TTN_GETDISPINFOA) {
            auto* info = reinterpret_cast<NMTTDISPINFOA*>(lParam);
            lstrcpynA(info->szText, text.GetText(), ARRAYSIZE(info->szText));
        } else {
            auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
            if (!MultiByteToWideChar(CP_ACP, 0, text.GetText(), -1, info->szText, ARRAYSIZE(info->szText)))
                info->szText[0] = 0;
        }
        return 0;
    }
    case WM_ENTERMENULOOP:
        if (m_view)
            m_view->OnEnterMenuLoop();
        return 0;
    case WM_EXITMENULOOP:
        if (m_view)
            m_view->OnExitMenuLoop();
        return 0;
    case WM_ENTERSIZEMOVE:
        if (m_view && !m_view->UsesFlash()) {
            s_wasPlayingBeforeSizeMove = m_view->GetState() == kPVStatePlaying;
            m_view->Pause();
        }
        break;
    case WM_EXITSIZEMOVE:
        if (m_view && !m_view->UsesFlash() && s_wasPlayingBeforeSizeMove)
            m_view->TogglePlay();
        break;
    case WM_DROPFILES: {
        HDROP drop = reinterpret_cast<HDROP>(wParam);
        char path[MAX_PATH];
        if (DragQueryFileA(drop, 0, path, sizeof path))
            m_host->OpenDocument(path);
        DragFinish(drop);
        return 0;
    }
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcA(m_window, message, wParam, lParam);
}
