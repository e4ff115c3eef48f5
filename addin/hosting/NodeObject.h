#pragma once
#include "addin/hosting/NodeEventInterfaces.h"
#include "base/MKComHolder.h"
#include "base/MKRefClass.h"
#include "base/MKString.h"

#include <oaidl.h>
#include <stdint.h>

class NodeProxy;

// Root of the scene tree's objects (hosts and nodes): a plain reference count,
// a name ("Object-%d" from a process-wide counter), a cached automation proxy
// and the event sink the object's creator attached. Closing runs once: the
// object detaches and closes its children, drops its proxy and sink (telling
// the sink), then does its own close work; the memory stays until the last
// reference goes. Used on the thread that made the host only; sinks may call
// back into the tree from every notice.
class NodeObject : public MKRefClass {
public:
    enum Flags : uint32_t {
        Detaching = 0x10,  // during Detach
        Closing = 0x100,   // from the start of Close until it finishes
        Closed = 0x800,
    };

    NodeObject();

    const MKString& GetName() const { return m_name; }
    void SetName(const MKString& name) { m_name = name; }
    uint32_t GetFlags() const { return m_flags; }
    bool IsClosing() const { return (m_flags & Closing) != 0; }
    bool IsClosed() const { return (m_flags & Closed) != 0; }

    // The sink with a reference for the caller; null when none is attached.
    INodeEventSink* GetEventSink() const;
    // Takes a reference on the new sink and drops the old one.
    void SetEventSink(INodeEventSink* sink) { m_sink.Assign(sink); }
    // One of the sink's event interfaces with a reference for the caller;
    // null without sink or when the sink lacks it.
    template <typename Events>
    Events* QuerySinkEvents(REFIID iid) const
    {
        void* events = nullptr;
        if (!m_sink || FAILED(m_sink->QueryInterface(iid, &events)))
            return nullptr;
        return static_cast<Events*>(events);
    }
    // The proxy, made on the first request and cached (the object keeps the
    // only reference it takes); null when the object has none.
    IDispatch* GetAutomationProxy();

    // Detaches the children, tells the sink (OnDetached), then the object's
    // own detach work: resources go, the object stays in its tree.
    void Detach();
    // Shuts the object down once; later calls do nothing. May delete the
    // object when nobody else holds a reference.
    void Close();

protected:
    ~NodeObject() override;

    virtual void DetachChildren() {}
    virtual void OnDetach() {}
    virtual void CloseChildren() {}
    virtual void OnClose() {}
    // A new proxy with one reference for the caller; none by default.
    virtual NodeProxy* CreateProxy() { return nullptr; }

private:
    void DropProxy();
    void NotifyDetached();

    NodeProxy* m_proxy = nullptr;
    MKComHolder<INodeEventSink> m_sink;
    MKString m_name;
    uint32_t m_flags = 0;
};
