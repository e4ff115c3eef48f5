#include "addin/core/InstalledPluginsAdapter.h"

#include "addin/core/ModulePluginPackage.h"
#include "addin/update/ModulePackage.h"

#include <new>

namespace {

const int32_t kKernelModule = 1;

}  // namespace

InstalledPluginsAdapter::~InstalledPluginsAdapter()
{
    ClearPackages();
}

void InstalledPluginsAdapter::ClearPackages()
{
    for (int i = 0; i < m_packages.GetCount(); ++i)
        delete m_packages[i];
    m_packages.RemoveAll();
}

int InstalledPluginsAdapter::Load()
{
    ClearPackages();
    return m_list.Load();
}

bool InstalledPluginsAdapter::DropIncompatible(const MKVersion& interfaceVersion, const MKVersion& officeVersion)
{
    // Entries move up as others are dropped: views made before would name
    // the wrong packages.
    ClearPackages();
    return m_list.DropIncompatible(interfaceVersion, officeVersion);
}

bool InstalledPluginsAdapter::IsEnabled(int index) const
{
    const InstalledPlugin* entry = m_list.GetAt(index);
    return entry && !entry->mainFile.IsEmpty();
}

const PluginPackage* InstalledPluginsAdapter::GetPackage(int index) const
{
    InstalledPlugin* entry = m_list.GetAt(index);
    if (!entry || entry->mainFile.IsEmpty() || !entry->OpenMainModule())
        return nullptr;
    // Room first: a set-size that cannot grow empties the array, and would
    // lose the packages already made.
    if (m_packages.GetCount() < m_list.GetCount() &&
        (!m_packages.Reserve(m_list.GetCount()) || !m_packages.SetSize(m_list.GetCount())))
        return nullptr;
    if (!m_packages[index])
        m_packages[index] = new (std::nothrow) ModulePluginPackage(*entry->GetMainModule());
    return m_packages[index];
}

MKVersion InstalledPluginsAdapter::GetKernelVersion() const
{
    const InstalledPlugin* first = m_list.GetAt(0);
    return first && first->moduleKind == kKernelModule ? first->version : MKVersion();
}
