#include "companions/trampoline/TrampolineClassFactory.h"

#include "companions/trampoline/TrampolineModule.h"
#include "companions/trampoline/VistelloTrampolineObject.h"

#include <new>

ULONG TrampolineClassFactory::Release()
{
    return InterlockedDecrement(&m_refs);
}

HRESULT TrampolineClassFactory::LockServer(BOOL lock)
{
    if (lock)
        TrampolineLock();
    else
        TrampolineUnlock();
    return S_OK;
}

IUnknown* TrampolineClassFactory::NewInstance(IUnknown* outer)
{
    auto* object = new (std::nothrow) VistelloTrampolineObject(outer);
    if (!object)
        return nullptr;
    IUnknown* inner = object->Inner();
    inner->AddRef();
    return inner;
}
