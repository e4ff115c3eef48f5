#include "addin/core/RibbonContextualTabs.h"

#include <new>

#include "addin/core/RibbonTabs.h"
#include "base/MKTextBuffer.h"

RibbonContextualTabs::RibbonContextualTabs(RibbonModel* owner) : RibbonElement(owner, MKString(), kBuiltIn) {}

RibbonContextualTabs::~RibbonContextualTabs() = default;

RibbonTabs* RibbonContextualTabs::FindOrAddTabSet(const MKString& idMso)
{
    return m_tabSets.FindOrAdd([&](const RibbonTabs& tabSet) { return tabSet.GetId() == idMso; },
                               [&] { return new (std::nothrow) RibbonTabs(Owner(), true, idMso); });
}

void RibbonContextualTabs::DeleteTabSets()
{
    m_tabSets.DeleteUnless([](const RibbonTabs&) { return false; });
}

bool RibbonContextualTabs::AppendXml(MKTextBuffer& out) const
{
    if (m_tabSets.IsEmpty())
        return true;
    return out.AppendText(L"<contextualTabs>") && m_tabSets.AppendXml(out) && out.AppendText(L"</contextualTabs>");
}
