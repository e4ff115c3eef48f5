#include "addin/core/RibbonElement.h"

#include "addin/core/RibbonModel.h"
#include "base/MKTextBuffer.h"
#include "base/MKXmlEscape.h"

RibbonElement::RibbonElement(RibbonModel* owner, const MKString& id, IdKind kind)
    : m_owner(owner), m_id(id), m_kind(kind)
{
    if (kind == kCustom && owner)
        owner->AddCustomRibbonElement(this);
}

RibbonElement::~RibbonElement()
{
    if (m_kind == kCustom && m_owner)
        m_owner->RemoveCustomRibbonElement(this);
}

MKString RibbonElement::ToXml() const
{
    MKTextBuffer text;
    if (!AppendXml(text))
        return MKString();
    return text.ToString();
}

bool RibbonElement::AppendFragments(MKTextBuffer& out) const
{
    for (int i = 0; i < m_fragments.GetCount(); ++i) {
        if (!out.Append(m_fragments[i].GetText(), m_fragments[i].GetLength()))
            return false;
    }
    return true;
}

bool RibbonElement::AppendTagWithId(MKTextBuffer& out, const wchar_t* before, const wchar_t* after) const
{
    // An id with a quote or an ampersand must not break the whole document.
    MKString id = MKXmlEscape(m_id);
    if (id.IsEmpty() != m_id.IsEmpty())
        return false;
    return out.AppendText(before) && out.Append(id.GetText(), id.GetLength()) && out.AppendText(after);
}

HRESULT RibbonElement::OnClick(VARIANT*) { return S_OK; }
HRESULT RibbonElement::OnToggleClick(VARIANT*, VARIANT*) { return S_OK; }
HRESULT RibbonElement::OnItemClick(VARIANT*, VARIANT*, VARIANT*) { return S_OK; }
HRESULT RibbonElement::GetVisible(VARIANT*) { return S_OK; }
HRESULT RibbonElement::GetEnabled(VARIANT*) { return S_OK; }
HRESULT RibbonElement::GetPressed(VARIANT*) { return S_OK; }
HRESULT RibbonElement::GetDescription(VARIANT*) { return S_OK; }
HRESULT RibbonElement::GetLabel(VARIANT*) { return S_OK; }
HRESULT RibbonElement::GetShowLabel(VARIANT*) { return S_OK; }
HRESULT RibbonElement::GetImage(VARIANT*) { return S_OK; }
HRESULT RibbonElement::GetShowImage(VARIANT*) { return S_OK; }
HRESULT RibbonElement::GetKeyTip(VARIANT*) { return S_OK; }
HRESULT RibbonElement::GetScreenTip(VARIANT*) { return S_OK; }
HRESULT RibbonElement::GetSuperTip(VARIANT*) { return S_OK; }
HRESULT RibbonElement::GetText(VARIANT*) { return S_OK; }
HRESULT RibbonElement::GetTitle(VARIANT*) { return S_OK; }
HRESULT RibbonElement::GetSize(VARIANT*) { return S_OK; }
HRESULT RibbonElement::GetItemCount(VARIANT*) { return S_OK; }
HRESULT RibbonElement::GetItemLabel(VARIANT*, VARIANT*) { return S_OK; }
HRESULT RibbonElement::GetItemScreenTip(VARIANT*, VARIANT*) { return S_OK; }
HRESULT RibbonElement::GetItemSuperTip(VARIANT*, VARIANT*) { return S_OK; }
HRESULT RibbonElement::GetItemImage(VARIANT*, VARIANT*) { return S_OK; }
HRESULT RibbonElement::GetItemID(VARIANT*, VARIANT*) { return S_OK; }
HRESULT RibbonElement::OnChange(VARIANT*, VARIANT*) { return S_OK; }
HRESULT RibbonElement::GetContent(VARIANT*) { return S_OK; }
HRESULT RibbonElement::GetSelectedItemID(VARIANT*) { return S_OK; }
HRESULT RibbonElement::GetSelectedItemIndex(VARIANT*) { return S_OK; }
HRESULT RibbonElement::GetItemWidth(VARIANT*) { return S_OK; }
HRESULT RibbonElement::GetItemHeight(VARIANT*) { return S_OK; }
