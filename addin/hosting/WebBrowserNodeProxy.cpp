#include "addin/hosting/WebBrowserNodeProxy.h"

#include "addin/hosting/FlashNodeProxy.h"
#include "addin/hosting/WebBrowserNode.h"

WebBrowserNodeProxy::WebBrowserNodeProxy(WebBrowserNode* node) : ActiveXNodeProxy(node, FlashNodeProxy::kIid) {}

bool WebBrowserNodeProxy::AnswersInterface(REFIID iid) const
{
    return iid == FlashNodeProxy::kIid || ActiveXNodeProxy::AnswersInterface(iid);
}
