#include "player/app/CDravoPlayerApp.h"

#include "player/app/CDravoPlayerFrame.h"
#include "player/app/CDravoPlayerView.h"
#include "player/app/DravoRenderer.h"
#include "player/app/PVFileAssociation.h"
#include "player/app/PVPlayerCommands.h"
#include "player/app/framework/MKCFlashWnd.h"
#include "player/app/framework/MKProfile.h"
#include "player/app/framework/MKWindowLayer.h"
#include "player/engine/MKFile.h"
#include "player/engine/PVEngineStart.h"
#include "player/engine/PVGLDraw.h"

#include <commdlg.h>
#include <ole2.h>
#include <shellapi.h>

const char kMakerWebPage[] = "https://brelix.example/";

namespace {

const char kCompany[] = "Brelix Technologies";
const char kSettings[] = "Settings";
const char kFlashMakerWebPage[] = "https://www.adobe.com/go/getflashplayer";
const UINT kGoodiesPosition = 3;

MKString LoadText(HINSTANCE instance, UINT id)
{
    char text[256];
    int length = LoadStringA(instance, id, text, sizeof text);
    return MKString::MKStringFromChars(text, length > 0 ? length : 0);
}

bool IsGoodiesMenu(HMENU menu)
{
    HMENU goodies = menu ? GetSubMenu(menu, kGoodiesPosition) : nullptr;
    return goodies && GetMenuItemID(goodies, 0) == kCmdPlayAsFastAsPossible;
}

}  // namespace

bool CDravoPlayerApp::deleteMovieAtExit = false;
MKString CDravoPlayerApp::moviePath;
CDravoPlayerApp* CDravoPlayerApp::s_instance = nullptr;

CDravoPlayerApp::CDravoPlayerApp(HINSTANCE instance)
    : m_instance(instance), m_recentFiles(kCmdRecentFile1, kRecentFileCount), m_document(&m_recentFiles)
{
    s_instance = this;
}

CDravoPlayerApp::~CDravoPlayerApp()
{
    delete m_frame;
    s_instance = nullptr;
}

int CDravoPlayerApp::Run(int argc, char** argv, int showCommand)
{
    int exitCode = 1;
    if (InitInstance(argc, argv, showCommand))
        exitCode = MessageLoop();
    return ExitInstance(exitCode);
}

int CDravoPlayerApp::ApplicationMessageBox(const char* text, UINT type, UINT)
{
    HWND owner = s_instance ? s_instance->MainWindow() : nullptr;
    MKString title = s_instance ? LoadText(s_instance->m_instance, kStrTitle) : MKString();
    return MessageBoxA(owner, text, title.IsEmpty() ? nullptr : title.GetText(), type);
}

bool CDravoPlayerApp::InitInstance(int argc, char** argv, int showCommand)
{
    SetMessageBoxHandler(&ApplicationMessageBox);
    if (!InitEngine(false)) {
        ShowMessage(LoadText(m_instance, kStrInitFailed).GetText(), MB_OK | MB_ICONERROR, 0);
        return false;
    }
    m_engineStarted = true;

    // argv[0] is the program; the arguments follow.
    const int arguments = argc - 1;
    deleteMovieAtExit = false;
    if (arguments >= 1)
        moviePath = argv[1];
    if (arguments == 2 && argv[2][0] == '/' && lstrcmpiA(argv[2] + 1, "delete") == 0) {
        if (void* file = MKFileOpenRead(argv[1])) {
            deleteMovieAtExit = true;
            MKFileClose(file);
        }
    }

    m_oleStarted = SUCCEEDED(OleInitialize(nullptr));
    MKProfile::SetRegistryKey(kCompany, LoadText(m_instance, kStrTitle).GetText());
    preferTahoma = true;
    if (!WindowLayerStart())
        return false;
    fontToChildren = true;

    if (!MKCFlashWnd::IsFlashControlAvailable()) {
        MKString text = MKString::FromFormat(
            "Flash Player is not installed on your system. Plova Player needs it\nto play Flash animations.\nVisit "
            "%s to learn more.",
            kFlashMakerWebPage);
        ShowMessage(text.GetText(), MB_OK | MB_ICONERROR, 0);
        return false;
    }

    m_recentFiles.Load();
    MKProfile::GetInt(kSettings, "PreviewPages", 0);

    m_showCommand = showCommand;
    if (m_placement.Load(kSettings))
        m_showCommand = int(m_placement.Placement().showCmd);
    m_maintainAssociation = MKProfile::GetInt(kSettings, "MaintainAssoc", 0) != 0;

    m_frame = new CDravoPlayerFrame(m_instance, this, this);
    if (!m_frame->Create(m_placement))
        return false;
    // The shell opens files in the running program through DDE, on the
    // service named after the program's file.
    MKString service = PVProgramPath();
    service = service.Mid(service.ReverseFindChar('\\') + 1);
    if (service.ReverseFindChar('.') > 0)
        service = service.Left(service.ReverseFindChar('.'));
    m_shellOpen.Start(service.GetText(), &CDravoPlayerApp::OpenFromShell, this);
    // The first plain argument is the movie; flags ("/delete") are skipped.
    const char* open = nullptr;
    for (int i = 1; i < argc && !open; ++i) {
        if (argv[i][0] != '-' && argv[i][0] != '/')
            open = argv[i];
    }
    if (open) {
        if (!OpenDocument(open))
            return false;
    } else {
        NewDocument();
    }

    ShowGoodiesMenu(true);
    DragAcceptFiles(m_frame->GetSafeHwnd(), TRUE);
    m_frame->LinkBars();
    return true;
}

bool CDravoPlayerApp::OpenFromShell(void* application, const char* path)
{
    return static_cast<CDravoPlayerApp*>(application)->OpenDocument(path);
}

int CDravoPlayerApp::ExitInstance(int exitCode)
{
    m_shellOpen.Stop();
    PVWriteAssociation(m_maintainAssociation, PVProgramPath().GetText());
    if (deleteMovieAtExit)
        DeleteFileA(moviePath.GetText());
    delete m_frame;
    m_frame = nullptr;
    if (m_engineStarted)
        TermEngine(true);
    m_engineStarted = false;
    WindowLayerEnd();
    m_recentFiles.Save();
    if (m_oleStarted)
        OleUninitialize();
    m_oleStarted = false;
    return exitCode;
}

bool CDravoPlayerApp::OnIdle(long count)
{
    // The framework's idle work is done after one call; the view's playback
    // runs on every call.
    const bool more = count < 1;
    if (CDravoPlayerView* view = View())
        view->IdleStep();
    return more;
}

int CDravoPlayerApp::MessageLoop()
{
    MSG message;
    for (;;) {
        long count = 0;
        bool more = true;
        while (more && !PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE))
            more = OnIdle(count++);
        if (!more) {
            // Sleep until a message arrives or the movie's next frame is due,
            // so playback does not wait for input.
            CDravoPlayerView* view = View();
            DWORD wait = view ? view->IdleWaitMs() : INFINITE;
            if (MsgWaitForMultipleObjectsEx(0, nullptr, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE) == WAIT_TIMEOUT)
                continue;
        }
        // Every message starts idle processing again.
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT)
                return int(message.wParam);
            if (m_frame && m_frame->PreTranslateMessage(message))
                continue;
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

CDravoPlayerView* CDravoPlayerApp::View() const
{
    return m_frame && m_frame->GetSafeHwnd() ? m_frame->View() : nullptr;
}

void CDravoPlayerApp::NewDocument()
{
    m_document.OnNewDocument();
    if (!m_frame)
        return;
    m_frame->UpdateTitle(nullptr);
    if (CDravoPlayerView* view = View())
        view->OnInitialUpdate();
}

bool CDravoPlayerApp::OpenDocument(const char* path)
{
    if (!m_document.OnOpenDocument(path))
        return false;
    char full[MAX_PATH];
    DWORD length = GetFullPathNameA(path, sizeof full, full, nullptr);
    m_document.SetPathName(length > 0 && length < sizeof full ? full : path, true, deleteMovieAtExit);
    if (!m_frame)
        return true;
    m_frame->UpdateTitle(m_document.GetPathName().GetText());
    if (CDravoPlayerView* view = View())
        view->OnInitialUpdate();
    return true;
}

void CDravoPlayerApp::ShowMainWindow()
{
    HWND frame = MainWindow();
    if (!frame)
        return;
    int show = m_showCommand;
    if (show == -1 || show == SW_SHOWNORMAL)
        show = IsIconic(frame) ? SW_RESTORE : SW_SHOW;
    ShowWindow(frame, show);
    UpdateWindow(frame);
    m_showCommand = -1;
}

HWND CDravoPlayerApp::MainWindow() const
{
    return m_frame ? m_frame->GetSafeHwnd() : nullptr;
}

HWND CDravoPlayerApp::ToolBarWindow() const
{
    return m_frame ? m_frame->ToolBar().GetSafeHwnd() : nullptr;
}

HWND CDravoPlayerApp::StatusBarWindow() const
{
    return m_frame ? m_frame->StatusBar().GetSafeHwnd() : nullptr;
}

void CDravoPlayerApp::RecalcLayout()
{
    if (m_frame)
        m_frame->RecalcLayout();
}

void CDravoPlayerApp::SetMessageText(const char* text)
{
    if (m_frame)
        m_frame->SetMessageText(text);
}

PVUIFeedBack* CDravoPlayerApp::BindFeedback(PVPlaybackView* view)
{
    if (!m_frame)
        return nullptr;
    m_frame->Feedback().Attach(view, &m_frame->ToolBar(), &m_frame->StatusBar());
    return &m_frame->Feedback();
}

void CDravoPlayerApp::ShowGoodiesMenu(bool remove)
{
    HWND frame = MainWindow();
    if (!frame)
        return;
    HMENU menu = GetMenu(frame);
    // In full screen the frame has no menu; leaving it brings the rule back.
    if (!menu)
        return;
    const bool present = IsGoodiesMenu(menu);
    if (remove) {
        if (present) {
            RemoveMenu(menu, kGoodiesPosition, MF_BYPOSITION);
            DrawMenuBar(frame);
        }
        return;
    }
    if (present)
        return;
    SetMenu(frame, LoadMenuA(m_instance, MAKEINTRESOURCEA(kResMain)));
    DestroyMenu(menu);
    DrawMenuBar(frame);
}

void CDravoPlayerApp::OnFileOpen()
{
    char path[MAX_PATH] = "";
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = MainWindow();
    dialog.lpstrFilter = "Adobe Flash (*.swf)\0*.swf\0";
    dialog.lpstrFile = path;
    dialog.nMaxFile = sizeof path;
    dialog.Flags = OFN_PATHMUSTEXIST | OFN_EXPLORER;
    if (GetOpenFileNameA(&dialog))
        OpenDocument(path);
}

bool CDravoPlayerApp::OnCommand(UINT id)
{
    DravoRenderer* engine = View() ? View()->EngineRenderer() : nullptr;
    switch (id) {
    case kCmdOpen:
        OnFileOpen();
        return true;
    case kCmdClose:
        NewDocument();
        return true;
    case kCmdMaintainAssociation:
        m_maintainAssociation = !m_maintainAssociation;
        return true;
    case kCmdPlayAsFastAsPossible:
        if (engine)
            engine->SetPlayAsFastAsPossible(!engine->IsPlayAsFastAsPossible());
        return true;
    case kCmdOutlines:
        if (engine)
            engine->SetOutlines(!engine->IsOutlines() || engine->IsBWOutlines());
        return true;
    case kCmdBWOutlines:
        if (engine)
            engine->SetBWOutlines(!engine->IsBWOutlines());
        return true;
    case kCmdNormalView:
    case kCmdView3DSlices:
    case kCmdView3DPlane:
    case kCmdView3DCube:
        if (engine) {
            static const int kModes[] = {PVGLDraw::kNormal, PVGLDraw::kSlices, PVGLDraw::kPlane, PVGLDraw::kCube};
            engine->SetViewMode(kModes[id - kCmdNormalView]);
        }
        return true;
    default:
        break;
    }
    if (id >= kCmdRecentFile1 && id < kCmdRecentFile1 + kRecentFileCount) {
        MKString path = m_recentFiles.PathOf(id);
        if (!path.IsEmpty() && !OpenDocument(path.GetText()))
            m_recentFiles.Remove(int(id - kCmdRecentFile1));
        return true;
    }
    return false;
}

bool CDravoPlayerApp::OnUpdateCommand(UINT id, MKCommandState& state)
{
    DravoRenderer* engine = View() ? View()->EngineRenderer() : nullptr;
    switch (id) {
    case kCmdClose:
        state.enabled = m_document.HasMovie();
        return true;
    case kCmdMaintainAssociation:
        state.checked = m_maintainAssociation;
        return true;
    case kCmdPlayAsFastAsPossible:
        state.checked = engine && engine->IsPlayAsFastAsPossible();
        return true;
    case kCmdOutlines:
        state.checked = engine && engine->IsOutlines() && !engine->IsBWOutlines();
        return true;
    case kCmdBWOutlines:
        state.checked = engine && engine->IsBWOutlines();
        return true;
    case kCmdNormalView:
    case kCmdView3DSlices:
    case kCmdView3DPlane:
    case kCmdView3DCube: {
        static const int kModes[] = {PVGLDraw::kNormal, PVGLDraw::kSlices, PVGLDraw::kPlane, PVGLDraw::kCube};
        state.checked = engine && engine->GetViewMode() == kModes[id - kCmdNormalView];
        return true;
    }
    default:
        return false;
    }
}

void CDravoPlayerApp::OnInitMenuPopup(HMENU popup)
{
    m_recentFiles.UpdateMenu(popup, "No Recent File");
}
