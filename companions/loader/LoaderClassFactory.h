#pragma once
#include "base/MKClassFactory.h"

// The class factory of the loader's add-in class. It counts itself in the
// module lock count for its whole life; every add-in it makes holds a
// reference on it and takes its module instance from it.
class LoaderClassFactory final : public MKClassFactory {
public:
    // Count 0: the creator takes the first reference.
    LoaderClassFactory(volatile LONG* lockCount, HINSTANCE instance);

private:
    ~LoaderClassFactory() override;
    IUnknown* NewInstance(IUnknown* outer) override;

    volatile LONG* m_lockCount;
};
