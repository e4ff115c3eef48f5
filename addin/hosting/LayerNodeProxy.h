#pragma once
#include "addin/hosting/ContainerNodeProxy.h"

class LayerNode;

// The proxy of a layer: a container that also tells whether it is topmost
// (200).
class LayerNodeProxy final : public ContainerNodeProxy {
public:
    static const IID kIid;

    explicit LayerNodeProxy(LayerNode* node);

protected:
    bool AnswersInterface(REFIID iid) const override;
    HRESULT Dispatch(DISPID id, DISPPARAMS* params, VARIANT* result) override;
};
