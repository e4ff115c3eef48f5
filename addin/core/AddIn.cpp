#include "addin/core/AddIn.h"

#include "addin/core/AddInClassFactory.h"
#include "addin/core/AddInConnection.h"
#include "addin/core/AddInCore.h"
#include "addin/core/AddInCoreServices.h"
#include "addin/core/AddInUpdaterHost.h"
#include "addin/core/AppEventSink.h"
#include "addin/core/AddInGuard.h"
#include "addin/core/AddInModule.h"
#include "addin/core/ComAddInSearch.h"
#include "addin/core/EnvironmentInfo.h"
#include "addin/core/IntVariant.h"
#include "addin/core/KernelPlugin.h"
#include "addin/core/ProductSettings.h"
#include "addin/core/RibbonCallbacks.h"
#include "addin/core/RibbonExtension.h"
#include "addin/core/ShellHook.h"
#include "addin/core/OfficeInfo.h"
#include "addin/effects/PackResourceHandlerList.h"
#include "addin/effects/SlideShowController.h"
#include "addin/hosting/FlashPreloader.h"
#include "addin/hosting/HostingModule.h"
#include "addin/imaging/drawing/DrawingTables.h"
#include "addin/update/Preferences.h"
#include "addin/update/UpdaterLink.h"
#include "addin/update/UsageStore.h"
#include "base/MKPath.h"

#include <new>

AddIn::AddIn(AddInClassFactory* factory, IUnknown* outer) : m_factory(factory)
{
    m_factory->AddRef();
    ShellHook::Register(this);
    m_startedToShow = factory->StartedToShow();

    m_environment = new (std::nothrow) EnvironmentInfo;
    if (m_environment) {
        m_environment->systemLocale.Set(static_cast<int32_t>(GetSystemDefaultLCID()));
        m_environment->userLocale.Set(static_cast<int32_t>(GetUserDefaultLCID()));
    }

    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(GetModuleInstance(), path, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
        m_modulePath.Assign(path, static_cast<int>(length));
        m_moduleFolder = MKPathDirectory(m_modulePath);
    }

    m_machineSettings = new (std::nothrow) ProductSettings(ProductSettings::PerMachine, false);
    m_userSettings = new (std::nothrow) ProductSettings(ProductSettings::PerUser, true);
    // A record that is missing or damaged starts afresh and is stored at
    // once; one that could not be read is left as it is stored.
    m_preferences = new (std::nothrow) Preferences;
    if (m_preferences && m_userSettings && !m_preferences->Load(*m_userSettings) && !m_preferences->ReadFailed()) {
        m_preferences->Reset();
        m_preferences->Save(*m_userSettings, true);
    }
    m_usage = new (std::nothrow) UsageStore;
    if (m_usage && m_userSettings && !m_usage->Load(*m_userSettings) && !m_usage->ReadFailed()) {
        m_usage->Reset();
        m_usage->Save(*m_userSettings, true);
    }
    m_updaterHost = new (std::nothrow) AddInUpdaterHost(*this);
    m_updater = m_updaterHost ? new (std::nothrow) UpdaterLink(*m_updaterHost) : nullptr;

    m_outer = outer ? outer : this;
    m_connection = new (std::nothrow) AddInConnection(m_outer, this, this, m_environment, &m_eventDepth, this);
    m_ribbon = new (std::nothrow) RibbonExtension(m_outer, this);
    m_coreServices = new (std::nothrow) AddInCoreServices(*this);
    m_core = m_coreServices ? new (std::nothrow) AddInCore(m_coreServices) : nullptr;
    if (m_coreServices)
        m_coreServices->SetCore(m_core);
    m_packResources = new (std::nothrow) PackResourceHandlerList(m_core);
    if (m_ribbon && m_core)
        m_ribbon->SetModel(&m_core->GetRibbonModel());
    if (m_connection && m_connection->GetEventSink())
        m_connection->GetEventSink()->SetTargets(m_core, m_connection->GetSlideShowController());
}

AddIn::~AddIn()
{
    ShellHook::Unregister(this);
    // Releases made while the parts go must not delete the add-in again.
    InterlockedIncrement(&m_refs);
    // The node hosts plug-ins made let go of their handlers before anything
    // a handler looks up goes.
    delete m_packResources;
    m_packResources = nullptr;
    // The plug-ins go first, while every service they may call still stands;
    // neither the ribbon nor the event sink reaches the core afterwards.
    if (m_ribbon)
        m_ribbon->SetModel(nullptr);
    if (m_connection && m_connection->GetEventSink())
        m_connection->GetEventSink()->SetTargets(nullptr, m_connection->GetSlideShowController());
    delete m_core;
    delete m_coreServices;
    // Its check's thread writes the settings and preferences: it stops
    // before they go.
    delete m_updater;
    m_updater = nullptr;
    delete m_updaterHost;
    delete m_usage;
    delete m_preferences;
    if (m_userSettings)
        m_userSettings->Close();
    delete m_userSettings;
    delete m_machineSettings;
    delete m_connection;
    delete m_ribbon;
    delete m_environment;
    m_factory->Release();
}

HRESULT AddIn::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    IUnknown* answer = nullptr;
    if (iid == IID_IUnknown)
        answer = this;
    else if (iid == Office::IID_IDTExtensibility2 && m_connection)
        answer = static_cast<Office::IDTExtensibility2*>(m_connection);
    else if (iid == Office::IID_IRibbonExtensibility && m_ribbon)
        answer = static_cast<Office::IRibbonExtensibility*>(m_ribbon);
    *out = answer;
    if (!answer)
        return E_NOINTERFACE;
    answer->AddRef();
    return S_OK;
}

ULONG AddIn::AddRef()
{
    return InterlockedIncrement(&m_refs);
}

ULONG AddIn::Release()
{
    static AddInGuardRecord s_guard;
    return AddInGuardedRelease(s_guard, m_refs, [this] { delete this; });
}

HINSTANCE AddIn::GetModuleInstance() const
{
    return m_factory->GetModuleInstance();
}

OfficeInfo* AddIn::GetOfficeInfo() const
{
    return m_connection ? m_connection->GetOfficeInfo() : nullptr;
}

PlayerVersionCache* AddIn::GetPlayerVersionCache() const
{
    return GetHostingPlayerVersionCache();
}

FARPROC AddIn::GetDrawingTablesFiller() const
{
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(&FillDrawingTables));
}

bool AddIn::GetApplication(MKComHolder<PowerPoint::Application>& out) const
{
    out.Assign(m_connection ? m_connection->GetApplication() : nullptr);
    return bool(out);
}

bool AddIn::GetComAddIns(MKComHolder<Office::COMAddIns>& out) const
{
    out.Release();
    MKComHolder<PowerPoint::Application> application;
    Office::COMAddIns* addIns = nullptr;
    if (!GetApplication(application) || FAILED(application->get_COMAddIns(&addIns)))
        return false;
    out.Attach(addIns);
    return bool(out);
}

HRESULT AddIn::GetMainWindow(HWND* window) const
{
    if (!window)
        return E_POINTER;
    *window = nullptr;
    MKComHolder<PowerPoint::Application> application;
    long handle = 0;
    if (!GetApplication(application) || FAILED(application->get_HWND(&handle)))
        return E_FAIL;
    HWND found = reinterpret_cast<HWND>(static_cast<LONG_PTR>(handle));
    if (!IsWindow(found))
        return E_FAIL;
    *window = found;
    return S_OK;
}

bool AddIn::FindComAddIn(const wchar_t* progId, MKComHolder<Office::COMAddIn>& out) const
{
    MKComHolder<Office::COMAddIns> addIns;
    GetComAddIns(addIns);
    return FindComAddInByProgId(addIns.Get(), progId, out) == ComAddInSearch::Found;
}

bool AddIn::FindSlideShowWindow(HWND window, MKComHolder<PowerPoint::SlideShowWindow>& out) const
{
    out.Release();
    MKComHolder<PowerPoint::Application> application;
    PowerPoint::SlideShowWindows* windows = nullptr;
    if (!IsWindow(window) || !GetApplication(application) || FAILED(application->get_SlideShowWindows(&windows)))
        return false;
    MKComHolder<PowerPoint::SlideShowWindows> held;
    held.Attach(windows);
    long count = 0;
    if (FAILED(windows->get_Count(&count)))
        return false;
    for (long i = 1; i <= count; ++i) {
        PowerPoint::SlideShowWindow* item = nullptr;
        if (FAILED(windows->Item(static_cast<int>(i), &item)) || !item)
            continue;
        MKComHolder<PowerPoint::SlideShowWindow> candidate;
        candidate.Attach(item);
        long handle = 0;
        if (SUCCEEDED(item->get_HWND(&handle)) && reinterpret_cast<HWND>(static_cast<LONG_PTR>(handle)) == window) {
            out = candidate;
            return true;
        }
    }
    return false;
}

bool AddIn::FindPresentationForShowWindow(PowerPoint::SlideShowWindow* showWindow,
                                          MKComHolder<PowerPoint::Presentation>& out) const
{
    out.Release();
    if (!showWindow)
        return false;
    long showHandle = 0;
    if (FAILED(showWindow->get_HWND(&showHandle)))
        showHandle = 0;
    MKComHolder<PowerPoint::Application> application;
    PowerPoint::Presentations* presentations = nullptr;
    if (!GetApplication(application) || FAILED(application->get_Presentations(&presentations)))
        return false;
    MKComHolder<PowerPoint::Presentations> held;
    held.Attach(presentations);
    long count = 0;
    if (FAILED(presentations->get_Count(&count)))
        return false;
    for (long i = 1; i <= count; ++i) {
        PowerPoint::Presentation* item = nullptr;
        if (FAILED(presentations->Item(IntVariant(i), &item)) || !item)
            continue;
        MKComHolder<PowerPoint::Presentation> presentation;
        presentation.Attach(item);
        PowerPoint::SlideShowWindow* running = nullptr;
        if (FAILED(item->get_SlideShowWindow(&running)) || !running)
            continue;
        MKComHolder<PowerPoint::SlideShowWindow> show;
        show.Attach(running);
        long handle = 0;
        bool same = running == showWindow ||
                    (showHandle != 0 && SUCCEEDED(running->get_HWND(&handle)) && handle == showHandle);
        if (same) {
            out = presentation;
            return true;
        }
    }
    return false;
}

void AddIn::InvalidateRibbon(const MKString& controlId)
{
    if (m_ribbon && m_ribbon->GetCallbacks())
        m_ribbon->GetCallbacks()->Invalidate(controlId);
}

void AddIn::OnShowWindowCreated(HWND window)
{
    MKComHolder<PowerPoint::SlideShowWindow> show;
    SlideShowController* shows = GetSlideShowController();
    if (FindSlideShowWindow(window, show) && shows)
        shows->AttachShowWindow(show.Get());
}

bool AddIn::SavePreferences(bool force)
{
    return m_preferences && m_userSettings && m_preferences->Save(*m_userSettings, force);
}

bool AddIn::RunStartup()
{
    // A show started from the command line leaves updates for later.
    bool updateResult = !m_startedToShow && m_updater && m_updater->CleanUpAfterUpdate();
    if (!updateResult && m_usage)
        m_usage->CountUse(UsageStore::kStartsFeature);
    bool reported = false;
    bool noPluginCall = false;
    bool automatic = false;
    if (updateResult)
        reported = m_updater->ReportUpdateResult(&noPluginCall, &automatic);
    bool started = m_core && m_core->Start();
    m_coreFailed = !started;
    if (!updateResult) {
        SavePreferences(false);
        bool scheduled = false;
        if (!m_startedToShow && m_updater)
            m_updater->ScheduleReadyUpdate(&scheduled);
    }
    if (reported)
        m_updater->PostDeferredStep(noPluginCall, automatic);
    // The first show need not wait for the Flash control to load.
    FlashPreloader::Start();
    return started;
}

bool AddIn::ReadAutoCheckUpdates() const
{
    if (!m_userSettings)
        return true;
    EnterModuleLock();
    bool on = ::GetAutoCheckUpdates(*m_userSettings);
    LeaveModuleLock();
    return on;
}

void AddIn::StopUpdateCheck()
{
    if (m_updater)
        m_updater->StopCheck();
}

void AddIn::Shutdown()
{
    StopUpdateCheck();
    if (m_usage && m_userSettings)
        m_usage->Save(*m_userSettings, false);
    if (m_core)
        m_core->Stop();
    FlashPreloader::Stop();
}

SlideShowController* AddIn::GetSlideShowController() const
{
    return m_connection ? m_connection->GetSlideShowController() : nullptr;
}

void AddIn::StopSlideShowSession()
{
    if (SlideShowController* shows = GetSlideShowController())
        shows->Shutdown();
}

int AddIn::GetShowOfficeCode() const
{
    return m_environment && m_environment->officeProductCode.IsPresent() ? m_environment->officeProductCode.GetValue()
                                                                         : 0;
}

bool AddIn::GetDetectedOfficeCode(int* code) const
{
    OfficeInfo* office = GetOfficeInfo();
    *code = office ? office->GetProductCode() : 0;
    return office != nullptr;
}

void AddIn::ShowError(const wchar_t* title, const wchar_t* text)
{
    if (m_core && m_core->ShowKernelMessage(title, text))
        return;
    ShowErrorBox(text);
}

EffectTypeLookup* AddIn::GetEffectTypes()
{
    return m_core && m_core->IsStarted() ? m_core : nullptr;
}

IUnknown* AddIn::CreateKernelSlide(IUnknown* showWindow, IUnknown* slide, IDispatch* nodeHost)
{
    KernelPlugin* kernel = m_core && m_core->IsStarted() ? m_core->GetFirstPlugin() : nullptr;
    return kernel ? kernel->CreateObject(showWindow, slide, nodeHost) : nullptr;
}

bool AddIn::ConfirmEffect(int32_t typeCode, BSTR effectId)
{
    int32_t answer = 0;
    return m_core && m_core->IsStarted() && m_core->QueryKernel(typeCode, effectId, &answer) && answer != 0;
}

void AddIn::ForwardPresentationOpen(PowerPoint::Presentation* presentation)
{
    if (m_core && m_core->IsStarted())
        m_core->ForwardPresentationOpen(presentation);
}

namespace {

void MessageBoxError(const wchar_t* text)
{
    MessageBoxW(nullptr, text, L"Vistello", MB_ICONERROR);
}

ErrorBoxFunction s_errorBox = &MessageBoxError;

}  // namespace

void ShowErrorBox(const wchar_t* text)
{
    s_errorBox(text);
}

ErrorBoxFunction SetErrorBoxFunction(ErrorBoxFunction function)
{
    ErrorBoxFunction old = s_errorBox;
    s_errorBox = function ? function : &MessageBoxError;
    return old;
}
