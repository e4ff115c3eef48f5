#include "companions/updateaddin/UpdaterClassFactory.h"

#include "companions/updateaddin/UpdaterAddIn.h"
#include "companions/updateaddin/UpdaterAddInModule.h"

#include <new>

UpdaterClassFactory::~UpdaterClassFactory()
{
    UnlockUpdaterModule();
}

IUnknown* UpdaterClassFactory::NewInstance(IUnknown* outer)
{
    return new (std::nothrow) UpdaterAddIn(this, outer);
}
