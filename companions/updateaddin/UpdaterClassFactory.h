#pragma once
#include "base/MKClassFactory.h"

// The class factory of the update add-in. It holds a module lock for its
// whole life (taken by its maker, see UpdaterAddInModule.h); every add-in it
// makes holds a reference on it and takes its module instance from it.
class UpdaterClassFactory final : public MKClassFactory {
public:
    // Count 0: the creator takes the first reference. The module lock must
    // be held already; the factory gives it back when it goes.
    explicit UpdaterClassFactory(HINSTANCE instance) : MKClassFactory(instance) {}

private:
    ~UpdaterClassFactory() override;
    IUnknown* NewInstance(IUnknown* outer) override;
};
