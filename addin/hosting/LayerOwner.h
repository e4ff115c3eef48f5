#pragma once
#include <objidl.h>
#include <stdint.h>

class UrlParts;

// The object that made a layer node and answers for the content drawn on it
// (during a slide show, the effect of one shape): the hosted controls under
// the layer ask it alone for the files they load, so each content is served
// from its own plug-in's package. The owner clears itself from the layer
// before it goes.
class LayerOwner {
public:
    // As HostHandler::ResolveNodeUrl: true when answered with `code`; false
    // leaves the request to the node with the values as set.
    virtual bool HandleResourceRequest(int bindingId, const UrlParts& url, int32_t& handled, IStream*& stream,
                                       uint32_t& size, int& code) = 0;

protected:
    ~LayerOwner() = default;
};
