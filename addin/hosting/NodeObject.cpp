#include "addin/hosting/NodeObject.h"

#include "addin/hosting/NodeProxy.h"
#include "base/MKRefHolder.h"

namespace {

// Counts every object made in the process, hosts and nodes alike.
int s_objectCount = 0;

}  // namespace

NodeObject::NodeObject() : m_name(MKString::FromFormat(L"Object-%d", ++s_objectCount)) {}

NodeObject::~NodeObject()
{
    DropProxy();
}

INodeEventSink* NodeObject::GetEventSink() const
{
    if (m_sink)
        m_sink->AddRef();
    return m_sink.Get();
}

IDispatch* NodeObject::GetAutomationProxy()
{
    if (!m_proxy && !IsClosed())
        m_proxy = CreateProxy();
    return m_proxy;
}

void NodeObject::DropProxy()
{
    if (NodeProxy* proxy = m_proxy) {
        m_proxy = nullptr;
        proxy->UnlinkObject();
        proxy->Release();
    }
}

void NodeObject::NotifyDetached()
{
    if (INodeEventSink* sink = GetEventSink()) {
        sink->OnDetached();
        sink->Release();
    }
}

void NodeObject::Detach()
{
    m_flags |= Detaching;
    DetachChildren();
    NotifyDetached();
    OnDetach();
    m_flags &= ~uint32_t(Detaching);
}

void NodeObject::Close()
{
    if (IsClosed() || IsClosing())
        return;
    // The sink and the children may drop the last outside reference.
    MKRefHolder<NodeObject> keep;
    keep.AssignPointer(this);
    m_flags |= Detaching | Closing;
    DetachChildren();
    NotifyDetached();
    OnDetach();
    m_flags &= ~uint32_t(Detaching);
    CloseChildren();
    DropProxy();
    // Out of the node before it hears of the close.
    MKComHolder<INodeEventSink> sink(m_sink.Get());
    m_sink.Reset();
    if (sink)
        sink->OnClosed();
    OnClose();
    m_flags = (m_flags & ~uint32_t(Closing)) | Closed;
}
