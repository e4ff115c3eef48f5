#include "addin/core/RibbonTab.h"

#include <new>

#include "addin/core/DispResult.h"
#include "addin/core/RibbonGroup.h"
#include "base/MKPointerArrays.h"
#include "base/MKTextBuffer.h"

RibbonTab::~RibbonTab()
{
    MKDeleteAllItems(m_groups);
}

RibbonGroup* RibbonTab::FindOrAddGroup(const MKString& idMso)
{
    for (int i = 0; i < m_groups.GetCount(); ++i) {
        if (m_groups[i]->GetId() == idMso)
            return m_groups[i];
    }
    RibbonGroup* group = new (std::nothrow) RibbonGroup(Owner(), idMso);
    if (group && !m_groups.Add(group)) {
        delete group;
        group = nullptr;
    }
    return group;
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
    for (int i = 0; i < m_groups.GetCount(); ++i) {
        if (!m_groups[i]->AppendXml(out))
            return false;
    }
    return AppendFragments(out) && out.AppendText(L"</tab>");
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
