#include "companions/shared/CompanionAddIn.h"

#include "base/MKClassFactory.h"
#include "base/MKCrashGuard.h"
#include "companions/shared/CompanionConnection.h"

CompanionAddIn::CompanionAddIn(MKClassFactory* factory, IUnknown* outer)
    : m_factory(factory), m_controlling(outer ? outer : this), m_connection(new CompanionConnection(m_controlling, this))
{
    m_factory->AddRef();
}

CompanionAddIn::~CompanionAddIn()
{
    delete m_connection;
    m_factory->Release();
}

HINSTANCE CompanionAddIn::GetModuleInstance() const
{
    return m_factory->GetModuleInstance();
}

HRESULT CompanionAddIn::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_INVALIDARG;
    if (iid == IID_IUnknown) {
        *out = static_cast<IUnknown*>(this);
        AddRef();
        return S_OK;
    }
    if (iid == Office::IID_IDTExtensibility2) {
        *out = static_cast<Office::IDTExtensibility2*>(m_connection);
        m_connection->AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG CompanionAddIn::AddRef()
{
    return InterlockedIncrement(&m_refs);
}

ULONG CompanionAddIn::Release()
{
    const LONG refs = InterlockedDecrement(&m_refs);
    if (refs == 0) {
        m_refs = 1;
        static MKExceptionInfo s_info;
        MKCrashGuard(s_info, [this] { delete this; });
    }
    return refs;
}
