#pragma once
#include "base/MKClassFactory.h"

// The class object of VistelloTrampolineObject, registered for local-server
// activation. One static instance lives for the whole process: its count only
// serves COM's bookkeeping; LockServer locks the module.
class TrampolineClassFactory final : public MKClassFactory {
public:
    TrampolineClassFactory() = default;
    ~TrampolineClassFactory() override = default;

    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

private:
    IUnknown* NewInstance(IUnknown* outer) override;
};
