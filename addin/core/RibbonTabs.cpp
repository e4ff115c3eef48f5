#include "addin/core/RibbonTabs.h"

#include <new>

#include "addin/core/RibbonTab.h"
#include "base/MKTextBuffer.h"

RibbonTabs::RibbonTabs(RibbonModel* owner, bool isTabSet, const MKString& idMso)
    : RibbonElement(owner, idMso, kBuiltIn), m_isTabSet(isTabSet)
{
}

RibbonTabs::~RibbonTabs() = default;

RibbonTab* RibbonTabs::FindOrAddTab(const MKString& id, IdKind kind)
{
    return m_tabs.FindOrAdd([&](const RibbonTab& tab) { return tab.GetIdKind() == kind && tab.GetId() == id; },
                            [&] { return new (std::nothrow) RibbonTab(Owner(), id, kind); });
}

RibbonTab* RibbonTabs::FindOrAddBuiltInTab(const MKString& idMso)
{
    return FindOrAddTab(idMso, kBuiltIn);
}

RibbonTab* RibbonTabs::FindOrAddCustomTab(const MKString& id)
{
    return FindOrAddTab(id, kCustom);
}

void RibbonTabs::DeleteTabsBut(const RibbonTab* keep)
{
    m_tabs.DeleteUnless([&](const RibbonTab& tab) { return &tab == keep; });
}

bool RibbonTabs::AppendXml(MKTextBuffer& out) const
{
    if (m_tabs.IsEmpty() && !HasFragments())
        return true;
    bool opened = m_isTabSet ? AppendTagWithId(out, L"<tabSet idMso=\"", L"\">") : out.AppendText(L"<tabs>");
    if (!opened)
        return false;
    return m_tabs.AppendXml(out) && AppendFragments(out) && out.AppendText(m_isTabSet ? L"</tabSet>" : L"</tabs>");
}
