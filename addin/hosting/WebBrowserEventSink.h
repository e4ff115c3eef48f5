#pragma once
#include "base/MKDispatchObject.h"

// Receives the WebBrowser control's DWebBrowserEvents2 for a web node. Every
// event's arguments are checked (count, exact variant types); navigations and
// downloads are let go ahead, their cancel flags set to VARIANT_FALSE. Pages
// asking for a new window (NewWindow2, NewWindow3) are refused: a window of
// their own would open outside the slide show. The node makes the sink and
// connects it only while its control exists; nothing of the node is needed
// to answer. Count 0 at construction (MKDispatchObject).
class WebBrowserEventSink final : public MKDispatchObject {
public:
    WebBrowserEventSink();

protected:
    HRESULT HandleInvoke(DISPID id, DISPPARAMS* params, VARIANT* result) override;
};
