#pragma once
#include "addin/hosting/SceneNodeProxy.h"

class ActiveXNode;

// What every node hosting an ActiveX control offers plug-ins (500 to 505):
// input flags, the control's properties and pictures of its content. The
// base of the control node kinds' proxies.
class ActiveXNodeProxy : public SceneNodeProxy {
public:
    static const IID kIid;

protected:
    ActiveXNodeProxy(ActiveXNode* node, REFIID iid);

    ActiveXNode* GetActiveXNode() const;
    bool AnswersInterface(REFIID iid) const override;
    HRESULT Dispatch(DISPID id, DISPPARAMS* params, VARIANT* result) override;
};
