#include "companions/updateaddin/UpdaterConnection.h"

#include "companions/updateaddin/UpdaterAddIn.h"

#include "base/MKCrashGuard.h"

UpdaterConnection::~UpdaterConnection()
{
    ReleaseHeld();
}

void UpdaterConnection::ReleaseHeld()
{
    IDispatch* application = m_application;
    IDispatch* addInInst = m_addInInst;
    m_application = nullptr;
    m_addInInst = nullptr;
    if (application)
        application->Release();
    if (addInInst)
        addInInst->Release();
}

HRESULT UpdaterConnection::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == Office::IID_IDTExtensibility2) {
        *out = static_cast<Office::IDTExtensibility2*>(this);
        AddRef();
        return S_OK;
    }
    return m_owner->ControllingObject()->QueryInterface(iid, out);
}

ULONG UpdaterConnection::AddRef()
{
    return m_owner->ControllingObject()->AddRef();
}

ULONG UpdaterConnection::Release()
{
    return m_owner->ControllingObject()->Release();
}

HRESULT UpdaterConnection::GetTypeInfoCount(UINT*)
{
    return E_FAIL;
}

HRESULT UpdaterConnection::GetTypeInfo(UINT, LCID, ITypeInfo**)
{
    return E_FAIL;
}

HRESULT UpdaterConnection::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*)
{
    return E_FAIL;
}

HRESULT UpdaterConnection::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*)
{
    return E_FAIL;
}

HRESULT UpdaterConnection::OnConnection(IDispatch* application, long connectMode, IDispatch* addInInst,
                                        SAFEARRAY** custom)
{
    static MKExceptionInfo s_info;
    return MKCrashGuard(s_info, E_UNEXPECTED, [&]() -> HRESULT {
        if (!application)
            return E_POINTER;
        ReleaseHeld();
        application->AddRef();
        m_application = application;
        if (addInInst)
            addInInst->AddRef();
        m_addInInst = addInInst;
        if (connectMode != Office::ext_cm_Startup)
            OnStartupComplete(custom);
        // Only Office's own connection of a COM add-in carries a request.
        IUnknown* comAddIn = nullptr;
        if (!addInInst ||
            FAILED(addInInst->QueryInterface(Office::IID_COMAddIn, reinterpret_cast<void**>(&comAddIn))))
            return S_OK;
        m_owner->RunRequest(application);
        comAddIn->Release();
        return S_OK;
    });
}

HRESULT UpdaterConnection::OnDisconnection(long removeMode, SAFEARRAY** custom)
{
    static MKExceptionInfo s_info;
    return MKCrashGuard(s_info, E_UNEXPECTED, [&]() -> HRESULT {
        m_startupComplete = false;
        if (removeMode != Office::ext_dm_HostShutdown)
            OnBeginShutdown(custom);
        ReleaseHeld();
        return S_OK;
    });
}

HRESULT UpdaterConnection::OnAddInsUpdate(SAFEARRAY**)
{
    return S_OK;
}

HRESULT UpdaterConnection::OnStartupComplete(SAFEARRAY**)
{
    // An outcome left in "result.dat" stays for the main add-in, which reads
    // and deletes it at its own start; a new outcome replaces it.
    m_startupComplete = true;
    return S_OK;
}

HRESULT UpdaterConnection::OnBeginShutdown(SAFEARRAY**)
{
    return S_OK;
}
