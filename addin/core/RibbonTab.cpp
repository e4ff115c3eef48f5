#include "addin/core/RibbonTab.h"

#include <new>

#include "addin/core/DispResult.h"
#include "addin/core/RibbonGroup.h"
#include "base/MKTextBuffer.h"

RibbonTab::RibbonTab(RibbonModel* owner, const MKString& id, IdKind kind) : RibbonElement(owner, id, kind) {}

RibbonTab::~RibbonTab() = default;

RibbonGroup* RibbonTab::FindOrAddGroup(const MKString& idMso)
{
    return m_groups.FindOrAdd([&](const RibbonGroup& group) { return group.GetId() == idMso; },
                              [&] { return new (std::nothrow) RibbonGroup(Owner(), idMso); });
}

bool RibbonTab::AppendXml(MKTextBuffer& out) const
{
    if (m_groups.IsEmpty() && !HasFragments())
        return true;
    bool opened = GetIdKind() == kBuiltIn
                      ? AppendTagWithId(out, L"<tab idMso=\"", L"\">")
                      : AppendTagWithId(out, L"<tab id=\"",
                                        L"\" getKeytip=\"GetKeyTip\" getVisible=\"GetVisible\" getLabel=\"GetLabel\">");
    if (!opened)
        return false;
    return m_groups.AppendXml(out) && AppendFragments(out) && out.AppendText(L"</tab>");
}

HRESULT RibbonTab::GetVisible(VARIANT* result)
{
    DispResult(result).SetBool(m_visible);
    return S_OK;
}

HRESULT RibbonTab::GetLabel(VARIANT* result)
{
    return DispResult(result).SetString(m_label);
}

HRESULT RibbonTab::GetKeyTip(VARIANT* result)
{
    return DispResult(result).SetString(m_keyTip);
}
