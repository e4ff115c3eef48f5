#pragma once
#include "base/MKVersion.h"

class PluginPackage;

// The installed plug-in list of the add-in's folder as the plug-in manager
// reads it: the kernel module first, then the plug-ins in the list's order,
// each with its opened module package.
class InstalledPluginList {
public:
    virtual ~InstalledPluginList() = default;

    // 0 when the list was read and names the kernel module; 1 when it cannot
    // be opened; 2 when it lists no kernel module.
    virtual int Load() = 0;
    // Drops the enabled entries whose package cannot be opened or that need a
    // newer interface or Office version; true when the list is not empty and
    // begins with the kernel module.
    virtual bool DropIncompatible(const MKVersion& interfaceVersion, const MKVersion& officeVersion) = 0;
    virtual int GetCount() const = 0;
    virtual bool IsEnabled(int index) const = 0;
    // The entry's opened package; null when it has none.
    virtual const PluginPackage* GetPackage(int index) const = 0;
    // The kernel module's version; 0.0.-1.-1 without one.
    virtual MKVersion GetKernelVersion() const = 0;
};
