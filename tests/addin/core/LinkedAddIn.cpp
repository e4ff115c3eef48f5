#include "LinkedAddIn.h"

#include "addin/core/AddInClassFactory.h"
#include "addin/core/AddInIds.h"

LinkedAddIn::LinkedAddIn()
{
    auto* factory = new AddInClassFactory(nullptr);
    factory->AddRef();
    IUnknown* unknown = nullptr;
    if (factory->Initialize() && SUCCEEDED(factory->CreateInstance(nullptr, IID_IUnknown,
                                                                     reinterpret_cast<void**>(&unknown)))) {
        addIn = static_cast<AddIn*>(unknown);
        Office::IDTExtensibility2* extension = nullptr;
        addIn->QueryInterface(Office::IID_IDTExtensibility2, reinterpret_cast<void**>(&extension));
        connection = static_cast<AddInConnection*>(extension);
        // The add-in's own reference keeps the connection alive.
        if (connection)
            connection->Release();
    }
    factory->Release();
}

LinkedAddIn::~LinkedAddIn()
{
    // As PowerPoint does before it lets an add-in go: an advised event sink
    // would otherwise keep the add-in (and PowerPoint) alive.
    if (connection)
        connection->OnDisconnection(Office::ext_dm_HostShutdown, nullptr);
    if (addIn)
        addIn->Release();
}
