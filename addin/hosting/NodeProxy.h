#pragma once
#include "base/MKDispatchObject.h"

// Base of the automation proxies through which plug-ins drive nodes and hosts.
// A proxy keeps a plain pointer back to its object; the object cuts it
// (UnlinkObject) before it lets the proxy go, so a proxy that a plug-in still
// holds answers as for a closed object and never reaches freed memory.
class NodeProxy : public MKDispatchObject {
public:
    using MKDispatchObject::MKDispatchObject;
    virtual void UnlinkObject() = 0;
};
