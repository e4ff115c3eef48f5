#pragma once
#include "addin/hosting/ActiveXNodeProxy.h"

class QuickTimePluginNode;

// The proxy of a QuickTime plug-in node: the control node's identifiers and
// the movie URL (800, 801).
class QuickTimePluginNodeProxy final : public ActiveXNodeProxy {
public:
    static const IID kIid;

    explicit QuickTimePluginNodeProxy(QuickTimePluginNode* node);

protected:
    bool AnswersInterface(REFIID iid) const override;
    HRESULT Dispatch(DISPID id, DISPPARAMS* params, VARIANT* result) override;
};
