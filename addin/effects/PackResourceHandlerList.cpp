#include "addin/effects/PackResourceHandlerList.h"

#include "addin/effects/PackResourceHandler.h"
#include "addin/effects/Plugin.h"
#include "addin/hosting/NodeHost.h"

#include <new>

PackResourceHandlerList::PackResourceHandlerList(const PluginLookup* plugins) : m_plugins(plugins) {}

PackResourceHandlerList::~PackResourceHandlerList()
{
    // Each deletion may run code of the host it lets go: take the handler
    // off the list first.
    while (!m_handlers.IsEmpty()) {
        PackResourceHandler* handler = m_handlers[m_handlers.GetCount() - 1];
        m_handlers.RemoveAt(m_handlers.GetCount() - 1);
        delete handler;
    }
}

bool PackResourceHandlerList::Add(NodeHost* host, const Plugin* plugin, const MKString& urlPrefix, HWND mouseTarget,
                                  HWND keyTarget)
{
    if (!host || host->IsClosing() || host->IsClosed() || host->GetHostHandler() || !plugin)
        return false;
    auto* handler = new (std::nothrow)
        PackResourceHandler(this, host, plugin->GetGuid(), urlPrefix, mouseTarget, keyTarget);
    if (!handler)
        return false;
    if (!m_handlers.Add(handler)) {
        delete handler;
        return false;
    }
    return true;
}

bool PackResourceHandlerList::Remove(NodeHost* host)
{
    for (int i = 0; i < m_handlers.GetCount(); ++i) {
        PackResourceHandler* handler = m_handlers[i];
        if (handler->GetHost() == host) {
            m_handlers.RemoveAt(i);
            delete handler;
            return true;
        }
    }
    return false;
}

PackResourceHandler* PackResourceHandlerList::Find(const NodeHost* host) const
{
    for (int i = 0; i < m_handlers.GetCount(); ++i) {
        if (m_handlers[i]->GetHost() == host)
            return m_handlers[i];
    }
    return nullptr;
}
