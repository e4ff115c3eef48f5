#include "standins/powerpoint/ApplicationObject.h"

#include "standins/powerpoint/ComAddInsObject.h"
#include "standins/powerpoint/ComValues.h"
#include "standins/powerpoint/EventConnectionPoint.h"
#include "standins/powerpoint/LanguageSettingsObject.h"
#include "standins/powerpoint/PresentationObject.h"
#include "standins/powerpoint/PresentationsObject.h"
#include "standins/powerpoint/SlideShowWindowsObject.h"
#include "standins/powerpoint/WindowMessageLog.h"

namespace standin {

namespace {

ApplicationObject* g_current = nullptr;
const wchar_t kMainWindowClass[] = L"PPTFrameClass";

}  // namespace

ApplicationObject* ApplicationObject::Current()
{
    return g_current;
}

HRESULT ApplicationObject::ReturnCurrent(IDispatch** result)
{
    ApplicationObject* application = Current();
    return ReturnObject(application ? application->AsDispatch() : nullptr, result);
}

ApplicationObject::ApplicationObject(const std::wstring& version)
    : DispatchObject(L"Application", {PowerPoint::IID_Application}),
      m_version(version),
      m_presentations(new PresentationsObject()),
      m_showWindows(new SlideShowWindowsObject()),
      m_addIns(new ComAddInsObject()),
      m_languages(new LanguageSettingsObject()),
      m_events(new EventConnectionPoint(this))
{
    if (!g_current)
        g_current = this;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW windowClass{};
    if (!GetClassInfoW(instance, kMainWindowClass, &windowClass)) {
        windowClass.lpfnWndProc = MainWindowProc;
        windowClass.hInstance = instance;
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
        windowClass.lpszClassName = kMainWindowClass;
        RegisterClassW(&windowClass);
    }
    m_mainWindow = CreateWindowExW(0, kMainWindowClass, L"Microsoft PowerPoint", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600,
                                   nullptr, nullptr, instance, this);
}

ApplicationObject::~ApplicationObject()
{
    if (!m_closed)
        CloseParts();
    m_events->Release();
    m_languages->Release();
    m_addIns->Release();
    m_showWindows->Release();
    m_presentations->Release();
}

void ApplicationObject::Close()
{
    if (m_closed)
        return;
    AddRef();
    CloseParts();
    Release();
}

void ApplicationObject::CloseParts()
{
    m_closed = true;
    m_showWindows->EndAll();
    m_presentations->CloseAll();
    m_addIns->Detach();
    m_events->Detach();
    if (m_mainWindow) {
        HWND window = m_mainWindow;
        m_mainWindow = nullptr;
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        DestroyWindow(window);
    }
    if (g_current == this)
        g_current = nullptr;
}

LRESULT CALLBACK ApplicationObject::MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    WindowMessageLog::Get().Note(window, message);
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    } else if (message == WM_NCDESTROY) {
        auto* application = reinterpret_cast<ApplicationObject*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (application)
            application->m_mainWindow = nullptr;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

int ApplicationObject::MajorVersion() const
{
    return _wtoi(m_version.c_str());
}

PresentationObject* ApplicationObject::AddPresentation(const std::wstring& name)
{
    PresentationObject* presentation = m_presentations->Add(name);
    presentation->Document()->triggerTypesByPosition = MajorVersion() < 12;
    return presentation;
}

std::vector<HRESULT> ApplicationObject::Raise(DISPID id, const std::vector<VARIANT>& args)
{
    return m_events->Raise(id, args);
}

HRESULT ApplicationObject::QueryInterface(REFIID iid, void** out)
{
    return DispatchObject::QueryInterface(iid, out);
}

ULONG ApplicationObject::AddRef()
{
    return DispatchObject::AddRef();
}

ULONG ApplicationObject::Release()
{
    return DispatchObject::Release();
}

void* ApplicationObject::QueryExtra(REFIID iid)
{
    if (iid == IID_IConnectionPointContainer)
        return static_cast<IConnectionPointContainer*>(this);
    return nullptr;
}

HRESULT ApplicationObject::get_Presentations(PowerPoint::Presentations** result)
{
    STANDIN_ENTER_OUT(L"get_Presentations", result);
    return ReturnObject(m_presentations, result);
}

HRESULT ApplicationObject::get_ActivePresentation(PowerPoint::Presentation** result)
{
    STANDIN_ENTER_OUT(L"get_ActivePresentation", result);
    return ReturnObject(m_presentations->Active(), result);
}

HRESULT ApplicationObject::get_SlideShowWindows(PowerPoint::SlideShowWindows** result)
{
    STANDIN_ENTER_OUT(L"get_SlideShowWindows", result);
    return ReturnObject(m_showWindows, result);
}

HRESULT ApplicationObject::get_Path(BSTR* result)
{
    STANDIN_ENTER_OUT(L"get_Path", result);
    return ReturnText(m_path, result);
}

HRESULT ApplicationObject::get_Name(BSTR* result)
{
    STANDIN_ENTER_OUT(L"get_Name", result);
    return ReturnText(L"Microsoft PowerPoint", result);
}

HRESULT ApplicationObject::get_Build(BSTR* result)
{
    STANDIN_ENTER_OUT(L"get_Build", result);
    return ReturnText(m_build, result);
}

HRESULT ApplicationObject::get_Version(BSTR* result)
{
    STANDIN_ENTER_OUT(L"get_Version", result);
    return ReturnText(m_version, result);
}

HRESULT ApplicationObject::get_HWND(long* result)
{
    return GetValue(L"get_HWND", static_cast<long>(reinterpret_cast<LONG_PTR>(m_mainWindow)), result);
}

HRESULT ApplicationObject::get_COMAddIns(Office::COMAddIns** result)
{
    STANDIN_ENTER_OUT(L"get_COMAddIns", result);
    return ReturnObject(m_addIns, result);
}

HRESULT ApplicationObject::get_LanguageSettings(Office::LanguageSettings** result)
{
    STANDIN_ENTER_OUT(L"get_LanguageSettings", result);
    return ReturnObject(m_languages, result);
}

HRESULT ApplicationObject::EnumConnectionPoints(IEnumConnectionPoints** out)
{
    STANDIN_ENTER_OUT(L"EnumConnectionPoints", out);
    *out = new ConnectionPointEnumerator(m_events, 0);
    return S_OK;
}

HRESULT ApplicationObject::FindConnectionPoint(REFIID iid, IConnectionPoint** out)
{
    STANDIN_ENTER_OUT(L"FindConnectionPoint", out);
    *out = nullptr;
    if (iid != PowerPoint::IID_EApplication)
        return CONNECT_E_NOCONNECTION;
    return ReturnObject(m_events, out);
}

}  // namespace standin
