#pragma once
#include "addin/core/InstalledPluginList.h"
#include "addin/update/InstalledPlugins.h"
#include "base/MKTArray.h"

class ModulePluginPackage;

// The plug-in manager's view of "plugins.dat" in the add-in's folder: an
// entry counts as enabled when it names a main module file, and its package
// is the opened main module package. The package views live until the list
// is loaded again or deleted, so plug-ins made from them must go first.
class InstalledPluginsAdapter final : public InstalledPluginList {
public:
    explicit InstalledPluginsAdapter(const MKString& folder) : m_list(folder) {}
    ~InstalledPluginsAdapter() override;
    InstalledPluginsAdapter(const InstalledPluginsAdapter&) = delete;
    InstalledPluginsAdapter& operator=(const InstalledPluginsAdapter&) = delete;

    int Load() override;
    bool DropIncompatible(const MKVersion& interfaceVersion, const MKVersion& officeVersion) override;
    int GetCount() const override { return m_list.GetCount(); }
    bool IsEnabled(int index) const override;
    const PluginPackage* GetPackage(int index) const override;
    MKVersion GetKernelVersion() const override;

private:
    void ClearPackages();

    InstalledPlugins m_list;
    // One view per entry, made when first asked for.
    mutable MKTArray<ModulePluginPackage*> m_packages;
};
