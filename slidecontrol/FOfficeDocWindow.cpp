// The control's window while in-place active and the live Flash control in it.
#include "slidecontrol/FOfficeDoc.h"

#include "player/app/framework/MKCFlashWnd.h"
#include "slidecontrol/FlashAddresses.h"
#include "slidecontrol/MovieFile.h"

#include <new>
#include <olectl.h>

namespace {

constexpr DWORD kLiveFlashStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;

// Whether the Flash warning may still be shown in this process.
bool s_mayWarnFlashMissing = true;

}  // namespace

LRESULT FOfficeDoc::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled)
{
    handled = true;
    switch (message) {
    case WM_SETFOCUS:
        OnSetFocus();
        return 1;
    case WM_MOUSEACTIVATE: {
        bool userMode = true;
        if (!AmbientUserMode(userMode) || userMode)
            UIActivateSelf();
        return MA_ACTIVATE;
    }
    case WM_PAINT:
        return OnPaint();
    case WM_KILLFOCUS:
        OnKillFocus();
        handled = false;
        return 0;
    case WM_CREATE:
        return OnCreate(*reinterpret_cast<const CREATESTRUCTA*>(lParam));
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_SIZE:
        OnSize(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_COMMAND:
    case WM_TIMER:
        return 0;
    default:
        break;
    }
    // Notifications reflected back to a control go on as the message they
    // were reflected from.
    if (message >= OCM__BASE && message <= OCM__BASE + WM_USER)
        return DefaultProc(message - OCM__BASE, wParam, lParam);
    handled = false;
    return 0;
}

void FOfficeDoc::UIActivateSelf()
{
    RECT position = PositionRect();
    static_cast<IOleObject*>(this)->DoVerb(OLEIVERB_UIACTIVATE, nullptr, ClientSite(), 0, ControlWindow(), &position);
}

void FOfficeDoc::OnSetFocus()
{
    if (!InPlaceActive())
        return;
    UIActivateSelf();
    IOleControlSite* site = nullptr;
    if (ClientSite() &&
        SUCCEEDED(ClientSite()->QueryInterface(IID_IOleControlSite, reinterpret_cast<void**>(&site)))) {
        if (InPlaceActive())
            site->OnFocus(TRUE);
        site->Release();
    }
}

LRESULT FOfficeDoc::OnCreate(const CREATESTRUCTA& create)
{
    if (DefaultProc(WM_CREATE, 0, LPARAM(&create)) == -1)
        return -1;
    if (!InPlaceActive() || m_bFlashUnavailable)
        return 0;
    m_pFlashWnd = new (std::nothrow) MKCFlashWnd();
    RECT rect = {0, 0, create.cx, create.cy};
    if (!m_pFlashWnd || !m_pFlashWnd->Create(nullptr, kLiveFlashStyle, rect, ControlWindow(), 0)) {
        delete m_pFlashWnd;
        m_pFlashWnd = nullptr;
        ShowFlashMissingOnce();
        return 0;
    }
    ConfigureFlash(*m_pFlashWnd);
    LoadMovieInto(*m_pFlashWnd);
    m_pFlashWnd->GotoFrame(m_properties.startFrame);
    if (m_properties.autoPlay)
        m_pFlashWnd->SetPlaying(true);
    m_pFlashWnd->SetLoop(m_properties.loop);
    ConnectHostEvents();
    return 0;
}

void FOfficeDoc::OnDestroy()
{
    if (!m_pFlashWnd)
        return;
    m_pFlashWnd->Destroy();
    delete m_pFlashWnd;
    m_pFlashWnd = nullptr;
}

void FOfficeDoc::OnSize(int width, int height)
{
    if (m_pFlashWnd && width != 0 && height != 0)
        m_pFlashWnd->Move(RECT{0, 0, width, height});
}

void FOfficeDoc::ConfigureFlash(MKCFlashWnd& flash)
{
    static const char* const kQualities[] = {"Low", "Medium", "High"};
    flash.SetPlaying(false);
    flash.SetScaleMode(m_properties.scaleMode);
    if (m_properties.quality >= 0 && m_properties.quality <= 2)
        flash.SetQuality2(kQualities[m_properties.quality]);
    if (m_properties.background)
        flash.SetBackgroundColor(int(m_properties.backgroundColour));
}

void FOfficeDoc::LoadMovieInto(MKCFlashWnd& flash)
{
    // The Flash control reads its movie from a file; it has read the whole
    // file by the time the put returns.
    MKString path;
    if (!WriteTempMovieFile(m_properties.movie, path))
        return;
    flash.SetMovie(path.GetText());
    DeleteFileA(path.GetText());
}

void FOfficeDoc::ShowFlashMissingOnce()
{
    if (!s_mayWarnFlashMissing)
        return;
    s_mayWarnFlashMissing = false;
    MKString text = MKString::FromFormat("Your system is not Flash(tm) enabled.\nPlease find out more at %s",
                                         kFlashMakerAddress);
    MessageBoxA(nullptr, text.GetText(), "Plova Point Player", MB_TOPMOST | MB_ICONERROR);
}
