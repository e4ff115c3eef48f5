#pragma once
#include <windows.h>

class Plugin;

// Finds a plug-in of the add-in core by its GUID.
class PluginLookup {
public:
    // The plug-in of the core's list with that GUID, or null.
    virtual Plugin* FindPluginByGuid(const GUID& guid) const = 0;

protected:
    ~PluginLookup() = default;
};
