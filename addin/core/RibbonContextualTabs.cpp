#include "addin/core/RibbonContextualTabs.h"

#include <new>

#include "addin/core/RibbonTabs.h"
#include "base/MKPointerArrays.h"
#include "base/MKTextBuffer.h"

RibbonContextualTabs::~RibbonContextualTabs()
{
    MKDeleteAllItems(m_tabSets);
}

RibbonTabs* RibbonContextualTabs::FindOrAddTabSet(const MKString& idMso)
{
    for (int i = 0; i < m_tabSets.GetCount(); ++i) {
        if (m_tabSets[i]->GetId() == idMso)
            return m_tabSets[i];
    }
    RibbonTabs* tabSet = new (std::nothrow) RibbonTabs(Owner(), true, idMso);
    if (tabSet && !m_tabSets.Add(tabSet)) {
        delete tabSet;
        tabSet = nullptr;
    }
    return tabSet;
}

bool RibbonContextualTabs::AppendXml(MKTextBuffer& out) const
{
    if (m_tabSets.IsEmpty())
        return true;
    if (!out.AppendText(L"<contextualTabs>"))
        return false;
    for (int i = 0; i < m_tabSets.GetCount(); ++i) {
        if (!m_tabSets[i]->AppendXml(out))
            return false;
    }
    return out.AppendText(L"</contextualTabs>");
}
