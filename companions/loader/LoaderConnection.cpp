#include "companions/loader/LoaderConnection.h"

#include "companions/loader/LoaderAddIn.h"

namespace {

// Takes a reference on a different pointer and drops the previous one.
void Keep(IDispatch*& held, IDispatch* value)
{
    if (held == value)
        return;
    if (value)
        value->AddRef();
    IDispatch* previous = held;
    held = value;
    if (previous)
        previous->Release();
}

}  // namespace

LoaderConnection::~LoaderConnection()
{
    Keep(m_application, nullptr);
    Keep(m_addInInst, nullptr);
}

HRESULT LoaderConnection::QueryInterface(REFIID iid, void** out)
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

ULONG LoaderConnection::AddRef()
{
    return m_owner->ControllingObject()->AddRef();
}

ULONG LoaderConnection::Release()
{
    return m_owner->ControllingObject()->Release();
}

HRESULT LoaderConnection::GetTypeInfoCount(UINT*)
{
    return E_FAIL;
}

HRESULT LoaderConnection::GetTypeInfo(UINT, LCID, ITypeInfo**)
{
    return E_FAIL;
}

HRESULT LoaderConnection::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*)
{
    return E_FAIL;
}

HRESULT LoaderConnection::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*)
{
    return E_FAIL;
}

HRESULT LoaderConnection::OnConnection(IDispatch* application, long connectMode, IDispatch* addInInst,
                                       SAFEARRAY** custom)
{
    if (!application)
        return E_POINTER;
    Keep(m_application, application);
    Keep(m_addInInst, addInInst);
    // Connected later than Office's start-up: there will be no start-up call.
    if (connectMode != Office::ext_cm_Startup)
        OnStartupComplete(custom);
    m_owner->LoadMainAddIn(m_application, m_addInInst);
    return S_OK;
}

HRESULT LoaderConnection::OnDisconnection(long removeMode, SAFEARRAY** custom)
{
    m_startupComplete = false;
    if (removeMode != Office::ext_dm_HostShutdown)
        OnBeginShutdown(custom);
    Keep(m_application, nullptr);
    Keep(m_addInInst, nullptr);
    return S_OK;
}

HRESULT LoaderConnection::OnAddInsUpdate(SAFEARRAY**)
{
    return S_OK;
}

HRESULT LoaderConnection::OnStartupComplete(SAFEARRAY**)
{
    m_startupComplete = true;
    return S_OK;
}

HRESULT LoaderConnection::OnBeginShutdown(SAFEARRAY**)
{
    return S_OK;
}
