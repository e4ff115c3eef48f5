#include "addin/effects/SlideShowSession.h"

#include "addin/effects/PaneSubclassRegistry.h"
#include "addin/effects/SessionReport.h"
#include "addin/effects/ShowContentList.h"
#include "addin/effects/SlideLayer.h"
#include "addin/effects/SlideShowController.h"
#include "addin/effects/SlideShowHost.h"
#include "addin/effects/SlideShowMessageWindow.h"
#include "addin/hosting/HostingModule.h"
#include "addin/hosting/PlayerVersionCache.h"
#include "base/MKTimer.h"

#include <new>

namespace {

const wchar_t kPaneClass[] = L"paneClassDC";

struct DescendantSearch {
    HWND found;
};

BOOL CALLBACK FindPaneDescendant(HWND window, LPARAM data)
{
    wchar_t name[257];
    int length = GetClassNameW(window, name, 257);
    if (length > 0 && lstrcmpW(name, kPaneClass) == 0) {
        reinterpret_cast<DescendantSearch*>(data)->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

SlideShowSession::SlideShowSession(SlideShowController* controller, PowerPoint::SlideShowWindow* window)
    : m_controller(controller), m_window(window)
{
    SlideShowMessageWindow::VerbMessage();
    m_officeCode = controller->GetHost()->GetShowOfficeCode();
    m_oldOffice = m_officeCode < 1200;
    m_contentList = new (std::nothrow) ShowContentList(this);
}

SlideShowSession::~SlideShowSession()
{
    if (!m_stopped)
        Stop();
    delete m_contentList;
    delete m_exitTimer;
}

HWND SlideShowSession::FindPane(HWND showWindow, bool detected, int officeCode)
{
    int hundreds = officeCode / 100 * 100;
    if (detected && (hundreds == 1000 || hundreds == 1100))
        return FindWindowExW(showWindow, nullptr, kPaneClass, L"");
    if (!detected || hundreds == 1200 || hundreds == 1400) {
        if (HWND child = FindWindowExW(showWindow, nullptr, kPaneClass, L""))
            return child;
        DescendantSearch search{nullptr};
        EnumChildWindows(showWindow, FindPaneDescendant, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }
    return FindWindowExW(showWindow, nullptr, kPaneClass, L"Slide Show");
}

bool SlideShowSession::Begin(SessionReport* report)
{
    m_stopped = false;
    m_visitLog.SetStart(MKDateTime::UtcNow());
    m_report.AssignPointer(report);
    // Player versions stay as first probed while the show runs.
    m_holdsPlayerVersions = GetHostingPlayerVersionCache() != nullptr;
    if (m_holdsPlayerVersions)
        GetHostingPlayerVersionCache()->AddUse();
    SlideShowHost* host = m_controller->GetHost();
    if (report)
        report->ClearWarnings();

    long handle = 0;
    HWND show = SUCCEEDED(m_window->get_HWND(&handle)) ? reinterpret_cast<HWND>(static_cast<LONG_PTR>(handle))
                                                        : nullptr;
    int detectedCode = 0;
    bool detected = host->GetDetectedOfficeCode(&detectedCode);
    m_pane = IsWindow(show) ? FindPane(show, detected, detectedCode) : nullptr;
    PaneSubclassRegistry* registry = PaneSubclassRegistry::Get();
    if (m_pane && IsWindow(m_pane) && registry)
        m_paneRecord = registry->Add(this, m_pane, show, host);
    if (!m_paneRecord || !CreateMessageWindow()) {
        Stop();
        return false;
    }

    PowerPoint::SlideShowView* view = nullptr;
    if (FAILED(m_window->get_View(&view)) || !view) {
        Stop();
        return false;
    }
    m_view.Attach(view);
    m_viewTracker.SetView(view);
    m_viewTracker.Poll();

    if (!host->FindPresentationForShowWindow(m_window.Get(), m_presentation)) {
        Stop();
        return false;
    }
    if (report)
        report->SetKey(m_presentation.Get());

    PowerPoint::SlideShowSettings* settings = nullptr;
    long showType = 0;
    bool readType = SUCCEEDED(m_presentation->get_SlideShowSettings(&settings)) && settings &&
                    SUCCEEDED(settings->get_ShowType(&showType));
    if (settings)
        settings->Release();
    if (!readType) {
        Stop();
        return false;
    }
    // Windowed and kiosk shows run without content.
    if (showType != PowerPoint::ppShowTypeSpeaker) {
        Stop();
        return true;
    }
    if (ReadSlideSize()) {
        HWND messageWindow = GetMessageWindow();
        m_frameTimer = SetTimer(messageWindow, kFrameTimerId, kFrameTimerPeriod, nullptr) ? kFrameTimerId : 0;
        if (m_frameTimer)
            return true;
    }
    Stop();
    return false;
}

bool SlideShowSession::CreateMessageWindow()
{
    if (m_messageWindow)
        return false;
    m_messageWindow = new (std::nothrow) SlideShowMessageWindow(this);
    if (m_messageWindow && m_messageWindow->Create(m_pane))
        return true;
    delete m_messageWindow;
    m_messageWindow = nullptr;
    return false;
}

HWND SlideShowSession::GetMessageWindow() const
{
    return m_messageWindow ? m_messageWindow->Handle() : nullptr;
}

bool SlideShowSession::ReadSlideSize()
{
    PowerPoint::PageSetup* page = nullptr;
    float width = 0;
    float height = 0;
    bool read = m_presentation && SUCCEEDED(m_presentation->get_PageSetup(&page)) && page &&
                SUCCEEDED(page->get_SlideWidth(&width)) && SUCCEEDED(page->get_SlideHeight(&height));
    if (page)
        page->Release();
    if (read) {
        m_slideWidth = width;
        m_slideHeight = height;
    }
    return read;
}

void SlideShowSession::Stop()
{
    m_stopped = true;
    ReleaseLayers();
    if (m_messageWindow) {
        if (m_frameTimer)
            KillTimer(m_messageWindow->Handle(), m_frameTimer);
        m_messageWindow->Destroy();
        delete m_messageWindow;
        m_messageWindow = nullptr;
    }
    m_frameTimer = 0;
    if (m_paneRecord) {
        m_paneRecord = nullptr;
        if (PaneSubclassRegistry* registry = PaneSubclassRegistry::Get())
            registry->Remove(this);
    }
    if (m_contentList)
        m_contentList->Clear();
    if (m_holdsPlayerVersions) {
        m_holdsPlayerVersions = false;
        if (PlayerVersionCache* versions = GetHostingPlayerVersionCache())
            versions->ReleaseUse();
    }
    m_report.Reset();
    m_clickMarker = 0;
}

bool SlideShowSession::AcquireHostLock()
{
    if (m_hostLockCount > 0) {
        ++m_hostLockCount;
        return true;
    }
    // A failed first acquisition takes no count: nobody releases it.
    long saved = 0;
    if (!m_presentation || FAILED(m_presentation->get_Saved(&saved))) {
        m_savedToken = kNoSavedToken;
        return false;
    }
    m_savedToken = static_cast<int>(saved);
    m_hostLockCount = 1;
    return true;
}

bool SlideShowSession::ReleaseHostLock()
{
    if (m_hostLockCount <= 0)
        return false;
    if (--m_hostLockCount > 0)
        return true;
    if (m_savedToken == kNoSavedToken || !m_presentation)
        return false;
    int saved = m_savedToken;
    m_savedToken = kNoSavedToken;
    return saved == 0 || SUCCEEDED(m_presentation->put_Saved(saved));
}

void SlideShowSession::ReleaseLayers()
{
    m_currentLayer.Reset();
    // The list may change while a layer unloads (its content calls back).
    while (!m_layers.IsEmpty())
        DropLayer(m_layers.GetCount() - 1);
}

void SlideShowSession::DropLayer(int index)
{
    SlideLayer* layer = m_layers[index];
    m_layers.RemoveAt(index);
    m_visitLog.Close(layer->GetSlideNumber());
    if (!layer->IsUnloaded())
        layer->Unload();
    layer->Release();
}

void SlideShowSession::RequestExit()
{
    if (m_exitTimer)
        return;
    m_exitTimer = new (std::nothrow) MKTimer;
    if (!m_exitTimer)
        return;
    m_exitTimer->SetPeriod(100);
    m_exitTimer->SetUserData(this);
    m_exitTimer->SetCallback(OnExitTimer);
    if (!m_exitTimer->Start()) {
        delete m_exitTimer;
        m_exitTimer = nullptr;
    }
}

void SlideShowSession::OnExitTimer(MKTimer* timer)
{
    auto* session = static_cast<SlideShowSession*>(timer->UserData());
    // The view's Exit ends the show and may release the session.
    MKRefHolder<SlideShowSession> keep;
    keep.AssignPointer(session);
    session->m_exitTimer = nullptr;
    delete timer;
    if (session->m_view)
        session->m_view->Exit();
}
