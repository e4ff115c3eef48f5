#pragma once
#include "addin/hosting/NodeProxy.h"

class SceneNode;

// What every scene node offers plug-ins (1 to 23): geometry, opacity,
// visibility, lifecycle and links. The base of each node kind's proxy.
class SceneNodeProxy : public NodeProxy {
public:
    static const IID kIid;

protected:
    SceneNodeProxy(SceneNode* node, REFIID iid);

    SceneNode* GetNode() const;
    bool AnswersInterface(REFIID iid) const override;
    HRESULT Dispatch(DISPID id, DISPPARAMS* params, VARIANT* result) override;

private:
    HRESULT DispatchWithArguments(DISPID id, DISPPARAMS* params, VARIANT* result);
};
