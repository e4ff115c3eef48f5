#pragma once
#include "addin/hosting/ActiveXNodeProxy.h"

class WebBrowserNode;

// The proxy of a web node: what every control node offers, under an
// interface identifier of its own.
class WebBrowserNodeProxy final : public ActiveXNodeProxy {
public:
    static const IID kIid;

    explicit WebBrowserNodeProxy(WebBrowserNode* node);

protected:
    bool AnswersInterface(REFIID iid) const override;
};
