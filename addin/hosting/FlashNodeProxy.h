#pragma once
#include "addin/hosting/ActiveXNodeProxy.h"

class FlashNode;

// The proxy of a Flash node: the control node's identifiers, the movie and
// flashvars, and the running control's playing state, frame and calls into
// the movie (600 to 608). Failures of the control are the call's answer.
class FlashNodeProxy final : public ActiveXNodeProxy {
public:
    static const IID kIid;

    explicit FlashNodeProxy(FlashNode* node);

    // A call into the movie (one request text in, the movie's answer out),
    // shared with the effect movie proxy whose node runs a Flash control too.
    static HRESULT DispatchCallFunction(const ActiveXNode& node, int playerMajor, DISPPARAMS* params,
                                        VARIANT* result);

protected:
    bool AnswersInterface(REFIID iid) const override;
    HRESULT Dispatch(DISPID id, DISPPARAMS* params, VARIANT* result) override;
};
