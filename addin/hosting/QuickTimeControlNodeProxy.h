#pragma once
#include "addin/hosting/ActiveXNodeProxy.h"

class QuickTimeControlNode;

// The proxy of a QuickTime Control node: the control node's identifiers and
// the movie's URL, commands and settings (900 to 914).
class QuickTimeControlNodeProxy final : public ActiveXNodeProxy {
public:
    static const IID kIid;

    explicit QuickTimeControlNodeProxy(QuickTimeControlNode* node);

protected:
    bool AnswersInterface(REFIID iid) const override;
    HRESULT Dispatch(DISPID id, DISPPARAMS* params, VARIANT* result) override;
};
