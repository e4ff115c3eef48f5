#pragma once
#include "base/MKString.h"

#include <objidl.h>
#include <stdint.h>

// What a binding manager needs of the node it serves: the node's answer to a
// request for a name below the virtual root.
class UrlResolver {
public:
    enum Answer { kReady = 0, kPending = 1, kNotHandled = 2 };

    // kReady with the stream (one reference for the caller) and its byte
    // count; kPending when the request is accepted but its data comes later;
    // kNotHandled otherwise. `handled` says who took the request (0: nobody).
    virtual int ResolveUrl(int bindingId, const MKString& url, int* handled, IStream** stream, uint32_t* size) = 0;
    // A binding answered kPending stays open until the manager is stopped.
    virtual void OnBindingPending(int bindingId, const MKString& url, int handled) = 0;

protected:
    ~UrlResolver() = default;
};
