#include "addin/core/AddInConnection.h"

#include "addin/core/AddInGuard.h"
#include "addin/core/AppEventSink.h"
#include "addin/core/ConnectionSteps.h"
#include "addin/core/EnvironmentInfo.h"
#include "addin/core/OfficeInfo.h"
#include "addin/effects/SlideShowController.h"
#include "base/MKBstrHolder.h"
#include "base/MKTextConvert.h"

#include <new>

AddInConnection::AddInConnection(IUnknown* outer, AddIn* addIn, ConnectionSteps* steps, EnvironmentInfo* environment,
                                 EventDepth* eventDepth, SlideShowHost* showHost)
    : AddInSubObject(outer), m_addIn(addIn), m_steps(steps), m_environment(environment)
{
    m_events = new (std::nothrow) AppEventSink(static_cast<Office::IDTExtensibility2*>(this), addIn, eventDepth);
    if (showHost)
        m_shows = new (std::nothrow) SlideShowController(showHost);
    if (m_events)
        m_events->SetTargets(nullptr, m_shows);
    m_office = new (std::nothrow) OfficeInfo;
}

AddInConnection::~AddInConnection()
{
    delete m_office;
    delete m_events;
    delete m_shows;
}

bool AddInConnection::AnswerOwn(REFIID iid, IUnknown** answer)
{
    if (iid != IID_IDispatch && iid != Office::IID_IDTExtensibility2)
        return false;
    *answer = this;
    return true;
}

HRESULT AddInConnection::OnConnection(IDispatch* application, long connectMode, IDispatch* addInInst,
                                      SAFEARRAY** custom)
{
    static AddInGuardRecord s_guard;
    return AddInGuarded(s_guard, m_addIn, E_UNEXPECTED, [&]() -> HRESULT {
        if (!application)
            return E_POINTER;
        PowerPoint::Application* powerPoint = nullptr;
        HRESULT hr = application->QueryInterface(PowerPoint::IID_Application, reinterpret_cast<void**>(&powerPoint));
        // A host that is not PowerPoint leaves the facts that need it unread;
        // a host that fails otherwise is not connected.
        if (FAILED(hr) && hr != E_NOINTERFACE)
            return E_UNEXPECTED;
        m_application.Attach(SUCCEEDED(hr) ? powerPoint : nullptr);
        m_addInInstance.Assign(addInInst);
        ReadHostFacts();
        if (connectMode != Office::ext_cm_Startup)
            OnStartupComplete(custom);
        return S_OK;
    });
}

HRESULT AddInConnection::OnDisconnection(long removeMode, SAFEARRAY** custom)
{
    static AddInGuardRecord s_guard;
    return AddInGuarded(s_guard, m_addIn, E_UNEXPECTED, [&]() -> HRESULT {
        RunShutdownSteps();
        m_started = false;
        if (removeMode != Office::ext_dm_HostShutdown)
            OnBeginShutdown(custom);
        m_application.Release();
        m_addInInstance.Release();
        return S_OK;
    });
}

HRESULT AddInConnection::OnAddInsUpdate(SAFEARRAY**)
{
    return S_OK;
}

HRESULT AddInConnection::OnStartupComplete(SAFEARRAY**)
{
    static AddInGuardRecord s_guard;
    return AddInGuarded(s_guard, m_addIn, E_UNEXPECTED, [&]() -> HRESULT {
        if (m_started)
            return S_OK;
        m_started = true;
        // No event may reach plug-ins that did not start.
        if (m_steps && !m_steps->RunStartup())
            return S_OK;
        // A PowerPoint without its _Application has no events to give.
        if (!m_application)
            return E_UNEXPECTED;
        if (m_events)
            m_events->Advise(m_application.Get());
        return S_OK;
    });
}

HRESULT AddInConnection::OnBeginShutdown(SAFEARRAY**)
{
    static AddInGuardRecord s_guard;
    return AddInGuarded(s_guard, m_addIn, E_UNEXPECTED, [&]() -> HRESULT {
        RunShutdownSteps();
        return S_OK;
    });
}

void AddInConnection::RunShutdownSteps()
{
    if (m_shows)
        m_shows->Shutdown();
    if (m_steps)
        m_steps->Shutdown();
    if (m_events)
        m_events->Unadvise();
}

void AddInConnection::ReadHostFacts()
{
    EnvironmentInfo* environment = m_environment;
    int major = 0;
    if (m_application) {
        MKBstrHolder version;
        if (SUCCEEDED(m_application->get_Version(version.Receive())) && version.Get()) {
            MKString text = version.ToString();
            if (environment && !environment->powerPointVersionText.IsPresent())
                environment->powerPointVersionText.Set(text);
            int point = text.FindChar(L'.');
            MKTextToInt((point >= 0 ? text.Left(point) : text).GetText(), &major);
        }
    }
    if (!m_office)
        return;
    bool detected = m_office->Detect(major);
    if (environment) {
        if (!environment->officeProductCode.IsPresent())
            environment->officeProductCode.Set(m_office->GetProductCode());
        if (!environment->officeProductName.IsPresent())
            environment->officeProductName.Set(m_office->GetProductName());
        if (!environment->msoVersion.IsPresent())
            environment->msoVersion.Set(m_office->GetMsoVersion());
        if (!environment->powerPointVersion.IsPresent())
            environment->powerPointVersion.Set(m_office->GetPowerPointVersion());
    }
    if (!detected)
        m_office->SetFallback(major);

    if (!m_application || !environment || environment->officeLanguages[0].IsPresent())
        return;
    Office::LanguageSettings* languages = nullptr;
    if (FAILED(m_application->get_LanguageSettings(&languages)) || !languages)
        return;
    MKComHolder<Office::LanguageSettings> held;
    held.Attach(languages);
    for (long id = Office::msoLanguageIDInstall; id <= Office::msoLanguageIDUIPrevious; ++id) {
        int language = 0;
        if (FAILED(languages->get_LanguageID(id, &language)))
            language = 0;
        environment->officeLanguages[id - 1].Set(language);
    }
}
