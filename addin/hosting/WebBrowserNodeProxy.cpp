#include "addin/hosting/WebBrowserNodeProxy.h"

#include "addin/hosting/WebBrowserNode.h"

const IID WebBrowserNodeProxy::kIid = {0x1A031E9C, 0x0E5B, 0x4E90, {0xA3, 0x6A, 0x38, 0x40, 0x6C, 0xAB, 0x69, 0xD0}};

WebBrowserNodeProxy::WebBrowserNodeProxy(WebBrowserNode* node) : ActiveXNodeProxy(node, kIid) {}

bool WebBrowserNodeProxy::AnswersInterface(REFIID iid) const
{
    return iid == kIid || ActiveXNodeProxy::AnswersInterface(iid);
}
