#pragma once
#include "addin/hosting/NodeProxy.h"

class NodeHost;

// The proxy of a node host: its window, size, scale and layers (1 to 16).
class NodeHostProxy final : public NodeProxy {
public:
    static const IID kIid;

    explicit NodeHostProxy(NodeHost* host);

protected:
    bool AnswersInterface(REFIID iid) const override;
    HRESULT Dispatch(DISPID id, DISPPARAMS* params, VARIANT* result) override;
};
