#include "addin/update/UpdateCheckDispatch.h"
#include "addin/update/UpdateChecker.h"
#include "addin/update/UpdateClock.h"
#include "addin/update/UpdaterHost.h"
#include "addin/update/UpdaterLink.h"

const IID IID_UpdateCheckDispatch = {0xF47A5A31, 0x1849, 0x4B5B, {0xBC, 0xCE, 0xD3, 0xAE, 0xF8, 0xEA, 0x0A, 0x4A}};

namespace {

void SetBool(VARIANT* result, bool value)
{
    if (!result)
        return;
    result->vt = VT_BOOL;
    result->boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
}

void SetInt(VARIANT* result, int32_t value)
{
    if (!result)
        return;
    result->vt = VT_I4;
    result->lVal = value;
}

} // namespace

UpdateCheckDispatch::UpdateCheckDispatch(UpdaterLink* link)
    : MKDispatchObject(0xF47A5A31, 0x4B5B1849, 0xAED3CEBC, 0x4A0AEAF8), m_link(link)
{
    // Without a place on the list it could outlive the link.
    if (m_link && !m_link->AddDispatch(this))
        m_link = nullptr;
}

UpdateCheckDispatch::~UpdateCheckDispatch()
{
    Detach();
}

void UpdateCheckDispatch::Detach()
{
    StopOwnCheck();
    if (m_link)
        m_link->RemoveDispatch(this);
    m_link = nullptr;
}

void UpdateCheckDispatch::StopOwnCheck()
{
    if (!m_checker)
        return;
    m_checker->Stop();
    delete m_checker;
    m_checker = nullptr;
}

HRESULT UpdateCheckDispatch::HandleInvoke(DISPID id, DISPPARAMS* parameters, VARIANT* result)
{
    if (parameters && parameters->cArgs > 0)
        return DISP_E_BADPARAMCOUNT;
    if (!m_link)
        return E_NOTIMPL;
    if (result)
        VariantClear(result);
    return Member(id, result);
}

HRESULT UpdateCheckDispatch::Member(DISPID id, VARIANT* result)
{
    switch (id) {
    case 1: {
        m_link->StopCheck();
        UpdaterHost& host = m_link->GetHost();
        bool made = !m_checker;
        if (made) {
            m_checker = new UpdateChecker(m_link->GetInstallationFolder(), SystemUpdateClock());
            m_checker->SetServiceUrl(host.GetUpdateServiceUrl());
        }
        // A check that runs answers true; one that ended starts again.
        bool running = !m_checker->HasThreadEnded();
        if (!running) {
            UpdateCheckFacts facts;
            running = host.MakeCheckFacts(facts) && m_checker->Start(facts, host.GetCheckSettings());
        }
        if (!running && made) {
            delete m_checker;
            m_checker = nullptr;
        }
        SetBool(result, running);
        return S_OK;
    }
    case 2:
        StopOwnCheck();
        return S_OK;
    case 3:
        SetInt(result, m_checker ? m_checker->GetStatus() : 0);
        return S_OK;
    case 4:
        // No check of this object may download beside the installation.
        StopOwnCheck();
        SetInt(result, m_link->InstallReadyUpdate(false));
        return S_OK;
    case 5:
        SetBool(result, m_link->IsLocked());
        return S_OK;
    case 6:
        SetBool(result, m_link->HasResultFile());
        return S_OK;
    case 7:
        SetBool(result, m_link->IsRebootPending());
        return S_OK;
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
}
