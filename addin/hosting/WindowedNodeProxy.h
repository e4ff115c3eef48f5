#pragma once
#include "addin/hosting/ContainerNodeProxy.h"

class WindowedNode;

// The proxy of a windowed node: a container with the colour its window is
// cleared to, as 0xAARRGGBB (300 reads it, 301 sets it).
class WindowedNodeProxy final : public ContainerNodeProxy {
public:
    static const IID kIid;

    explicit WindowedNodeProxy(WindowedNode* node);

protected:
    bool AnswersInterface(REFIID iid) const override;
    HRESULT Dispatch(DISPID id, DISPPARAMS* params, VARIANT* result) override;
};
