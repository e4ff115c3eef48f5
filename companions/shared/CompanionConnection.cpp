#include "companions/shared/CompanionConnection.h"

#include "base/MKCrashGuard.h"
#include "companions/shared/CompanionAddIn.h"

bool CompanionConnection::AnswerOwn(REFIID iid, IUnknown** answer)
{
    if (iid != IID_IDispatch && iid != Office::IID_IDTExtensibility2)
        return false;
    *answer = this;
    return true;
}

HRESULT CompanionConnection::OnConnection(IDispatch* application, long, IDispatch* addInInst, SAFEARRAY**)
{
    static MKExceptionInfo s_info;
    return MKCrashGuard(s_info, E_UNEXPECTED, [&]() -> HRESULT {
        if (!application)
            return E_POINTER;
        m_application.Assign(application);
        m_addInInst.Assign(addInInst);
        m_addIn->Connected(application, addInInst);
        return S_OK;
    });
}

HRESULT CompanionConnection::OnDisconnection(long, SAFEARRAY**)
{
    static MKExceptionInfo s_info;
    return MKCrashGuard(s_info, E_UNEXPECTED, [&]() -> HRESULT {
        m_application.Release();
        m_addInInst.Release();
        return S_OK;
    });
}

HRESULT CompanionConnection::OnAddInsUpdate(SAFEARRAY**)
{
    return S_OK;
}

HRESULT CompanionConnection::OnStartupComplete(SAFEARRAY**)
{
    return S_OK;
}

HRESULT CompanionConnection::OnBeginShutdown(SAFEARRAY**)
{
    return S_OK;
}
