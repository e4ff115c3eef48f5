#pragma once
#include "base/MKDispatchObject.h"

#include <new>

class NodeObject;

// Root of the automation proxies through which plug-ins drive hosts and
// nodes by dispatch identifier (no names, no type information). Each proxy
// class answers its own interface identifier and its identifiers, and hands
// everything else to its base class; the root answers -1 to -7, common to
// every object. A proxy keeps a plain pointer back to its object; the object
// cuts it (UnlinkObject) before it lets the proxy go, so a proxy that a
// plug-in still holds answers -3 (closed) with true and everything else with
// E_FAIL, and never reaches freed memory. Arguments must have exactly the
// listed count and variant types; results are written only when asked for.
// User-interface thread only; the count is locked.
class NodeProxy : public MKDispatchObject {
public:
    // The interface identifiers of the family's classes.
    static const IID kNodeProxyIid;

    void UnlinkObject() { m_object = nullptr; }
    NodeObject* GetObject() const { return m_object; }

    // IUnknown, IDispatch and the identifiers of the class and its bases.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;

protected:
    NodeProxy(NodeObject* object, REFIID iid);

    // Whether the class or one of its bases has the interface identifier.
    virtual bool AnswersInterface(REFIID iid) const;
    // The class's identifiers, else its base's; the root answers
    // DISP_E_MEMBERNOTFOUND for identifiers it does not know. Called only
    // while the object lives.
    virtual HRESULT Dispatch(DISPID id, DISPPARAMS* params, VARIANT* result);

    // DISP_E_BADPARAMCOUNT unless there are exactly `count` arguments.
    static HRESULT CheckCount(DISPPARAMS* params, UINT count);
    // Clears a result the caller passed (operations without a result) and
    // answers S_OK.
    static HRESULT NoResult(VARIANT* result);

private:
    HRESULT HandleInvoke(DISPID id, DISPPARAMS* params, VARIANT* result) final;

    NodeObject* m_object;
};

// A node's new proxy of the given class with one reference for the node;
// null when memory runs out.
template <class Proxy, class Node>
NodeProxy* MakeNodeProxy(Node* node)
{
    Proxy* proxy = new (std::nothrow) Proxy(node);
    if (proxy)
        proxy->AddRef();
    return proxy;
}
