#pragma once
#include "base/MKString.h"
#include "base/MKTArray.h"

#include <windows.h>

class NodeHost;
class PackResourceHandler;
class Plugin;
class PluginLookup;

// The add-in's pack resource handlers, one per node host that a plug-in made
// through its API object. The list owns the handlers; its destruction deletes
// those still attached (which lets their hosts go). The plug-in lookup must
// outlive the list. PowerPoint's user-interface thread only.
class PackResourceHandlerList {
public:
    // Null plug-ins: handlers serve nothing.
    explicit PackResourceHandlerList(const PluginLookup* plugins);
    ~PackResourceHandlerList();
    PackResourceHandlerList(const PackResourceHandlerList&) = delete;
    PackResourceHandlerList& operator=(const PackResourceHandlerList&) = delete;

    // Attaches a new handler for the plug-in to the host, with the two
    // windows that receive its controls' unkept mouse and key input. False
    // for a null or closing host, a host that has a handler already, or a
    // null plug-in.
    bool Add(NodeHost* host, const Plugin* plugin, const MKString& urlPrefix, HWND mouseTarget, HWND keyTarget);
    // Deletes the host's handler; false when it has none of this list.
    bool Remove(NodeHost* host);

    int GetCount() const { return m_handlers.GetCount(); }
    PackResourceHandler* Find(const NodeHost* host) const;
    const PluginLookup* GetPlugins() const { return m_plugins; }

private:
    const PluginLookup* m_plugins;
    MKTArray<PackResourceHandler*> m_handlers;
};
