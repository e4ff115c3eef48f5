#pragma once
#include "addin/hosting/ActiveXNodeProxy.h"

class WebBrowserNode;

// The proxy of a web node: what every control node offers. Plug-ins reach it
// under the Flash node proxy's interface identifier, without that proxy's
// own members.
class WebBrowserNodeProxy final : public ActiveXNodeProxy {
public:
    explicit WebBrowserNodeProxy(WebBrowserNode* node);

protected:
    bool AnswersInterface(REFIID iid) const override;
};
