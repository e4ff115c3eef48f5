#include "companions/loader/LoaderClassFactory.h"

#include "companions/loader/LoaderAddIn.h"

#include <new>

LoaderClassFactory::LoaderClassFactory(volatile LONG* lockCount, HINSTANCE instance)
    : MKClassFactory(instance), m_lockCount(lockCount)
{
    InterlockedIncrement(m_lockCount);
}

LoaderClassFactory::~LoaderClassFactory()
{
    InterlockedDecrement(m_lockCount);
}

IUnknown* LoaderClassFactory::NewInstance(IUnknown* outer)
{
    return new (std::nothrow) LoaderAddIn(this, outer);
}
