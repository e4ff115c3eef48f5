#include "slidecontrol/ControlClassFactory.h"

#include "slidecontrol/FOfficeDoc.h"
#include "slidecontrol/PlovapointModule.h"

ControlClassFactory& ControlClassFactory::Instance()
{
    static ControlClassFactory factory;
    return factory;
}

HRESULT ControlClassFactory::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (iid != IID_IUnknown && iid != IID_IClassFactory)
        return E_NOINTERFACE;
    *out = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
}

// A reference on the class object keeps the library loaded.
ULONG ControlClassFactory::AddRef()
{
    PlovapointModule::Lock();
    return 2;
}

ULONG ControlClassFactory::Release()
{
    PlovapointModule::Unlock();
    return 1;
}

HRESULT ControlClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** out)
{
    return PlovapointModule::Guard([&] { return FOfficeDoc::Create(outer, iid, out); });
}

HRESULT ControlClassFactory::LockServer(BOOL lock)
{
    if (lock)
        PlovapointModule::Lock();
    else
        PlovapointModule::Unlock();
    return S_OK;
}
