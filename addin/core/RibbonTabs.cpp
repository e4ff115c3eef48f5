#include "addin/core/RibbonTabs.h"

#include <new>

#include "addin/core/RibbonTab.h"
#include "base/MKPointerArrays.h"
#include "base/MKTextBuffer.h"

RibbonTabs::RibbonTabs(RibbonModel* owner, bool isTabSet, const MKString& idMso)
    : RibbonElement(owner, idMso, kBuiltIn), m_isTabSet(isTabSet)
{
}

RibbonTabs::~RibbonTabs()
{
    MKDeleteAllItems(m_tabs);
}

RibbonTab* RibbonTabs::FindOrAddTab(const MKString& id, IdKind kind)
{
    for (int i = 0; i < m_tabs.GetCount(); ++i) {
        if (m_tabs[i]->GetIdKind() == kind && m_tabs[i]->GetId() == id)
            return m_tabs[i];
    }
    RibbonTab* tab = new (std::nothrow) RibbonTab(Owner(), id, kind);
    if (tab && !m_tabs.Add(tab)) {
        delete tab;
        tab = nullptr;
    }
    return tab;
}

RibbonTab* RibbonTabs::FindOrAddBuiltInTab(const MKString& idMso)
{
    return FindOrAddTab(idMso, kBuiltIn);
}

RibbonTab* RibbonTabs::FindOrAddCustomTab(const MKString& id)
{
    return FindOrAddTab(id, kCustom);
}

bool RibbonTabs::AppendXml(MKTextBuffer& out) const
{
    if (m_tabs.IsEmpty() && !HasFragments())
        return true;
    bool opened = m_isTabSet ? AppendTagWithId(out, L"<tabSet idMso=\"", L"\">") : out.AppendText(L"<tabs>");
    if (!opened)
        return false;
    for (int i = 0; i < m_tabs.GetCount(); ++i) {
        if (!m_tabs[i]->AppendXml(out))
            return false;
    }
    return AppendFragments(out) && out.AppendText(m_isTabSet ? L"</tabSet>" : L"</tabs>");
}
