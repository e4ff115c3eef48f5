#pragma once
#include "addin/hosting/SceneNodeProxy.h"

class ContainerNode;

// The proxy of a container: makes child nodes of each kind (100 to 107) and
// answers their proxies (null when the child could not be made or added).
class ContainerNodeProxy : public SceneNodeProxy {
public:
    static const IID kIid;

    explicit ContainerNodeProxy(ContainerNode* node);

protected:
    ContainerNodeProxy(ContainerNode* node, REFIID iid);

    bool AnswersInterface(REFIID iid) const override;
    HRESULT Dispatch(DISPID id, DISPPARAMS* params, VARIANT* result) override;
};
