#include "addin/core/RibbonModel.h"

#include "addin/core/ControlHandlerLookup.h"
#include "addin/core/RibbonGroup.h"
#include "addin/core/RibbonTab.h"
#include "base/MKTextBuffer.h"

namespace {

bool AddFragment(RibbonElement* anchor, const MKString& xml)
{
    return anchor && anchor->AddFragment(xml);
}

}  // namespace

RibbonModel::RibbonModel(ControlHandlerLookup* handlers)
    : m_handlers(handlers), m_tabs(this, false, MKString()), m_contextualTabs(this)
{
    if (RibbonTab* product = m_tabs.FindOrAddCustomTab(kProductTabId)) {
        product->SetLabel(L"Vistello");
        product->SetKeyTip(L"M");
        product->SetVisible(true);
    }
}

void RibbonModel::RemovePluginFragments()
{
    RibbonTab* product = m_tabs.FindOrAddCustomTab(kProductTabId);
    m_tabs.DeleteTabsBut(product);
    m_tabs.ClearFragments();
    if (product)
        product->ClearFragments();
    m_contextualTabs.DeleteTabSets();
    m_contextualTabs.ClearFragments();
}

bool RibbonModel::BuildCustomUI(MKString& xml) const
{
    MKTextBuffer text;
    bool built = text.AppendText(L"<customUI xmlns=\"http://schemas.microsoft.com/office/2006/01/customui\" "
                                 L"onLoad=\"OnLoad\">  <ribbon>") &&
                 m_tabs.AppendXml(text) && m_contextualTabs.AppendXml(text) &&
                 text.AppendText(L"  </ribbon></customUI>");
    if (!built)
        return false;
    xml = text.ToString();
    return xml.GetLength() == text.GetLength();
}

bool RibbonModel::AddTabsXml(const MKString& xml)
{
    return AddFragment(&m_tabs, xml);
}

bool RibbonModel::AddTabXml(const MKString& tabId, const MKString& xml)
{
    return AddFragment(m_tabs.FindOrAddBuiltInTab(tabId), xml);
}

bool RibbonModel::AddTabGroupXml(const MKString& tabId, const MKString& groupId, const MKString& xml)
{
    RibbonTab* tab = m_tabs.FindOrAddBuiltInTab(tabId);
    return tab && AddFragment(tab->FindOrAddGroup(groupId), xml);
}

bool RibbonModel::AddTabSetXml(const MKString& tabSetId, const MKString& xml)
{
    return AddFragment(m_contextualTabs.FindOrAddTabSet(tabSetId), xml);
}

bool RibbonModel::AddTabSetTabXml(const MKString& tabSetId, const MKString& tabId, const MKString& xml)
{
    RibbonTabs* tabSet = m_contextualTabs.FindOrAddTabSet(tabSetId);
    return tabSet && AddFragment(tabSet->FindOrAddBuiltInTab(tabId), xml);
}

bool RibbonModel::AddTabSetGroupXml(const MKString& tabSetId, const MKString& tabId, const MKString& groupId,
                                    const MKString& xml)
{
    RibbonTabs* tabSet = m_contextualTabs.FindOrAddTabSet(tabSetId);
    RibbonTab* tab = tabSet ? tabSet->FindOrAddBuiltInTab(tabId) : nullptr;
    return tab && AddFragment(tab->FindOrAddGroup(groupId), xml);
}

bool RibbonModel::AddCustomElementXml(const MKString& elementId, const MKString& xml)
{
    return AddFragment(FindCustomRibbonElement(elementId), xml);
}

bool RibbonModel::AddCustomRibbonElement(RibbonElement* element)
{
    if (FindCustomRibbonElement(element->GetId()))
        return false;
    return m_customElements.Add(element);
}

void RibbonModel::RemoveCustomRibbonElement(RibbonElement* element)
{
    m_customElements.RemoveAt(m_customElements.IndexOf(element));
}

RibbonElement* RibbonModel::FindCustomRibbonElement(const MKString& id) const
{
    for (int i = 0; i < m_customElements.GetCount(); ++i) {
        if (m_customElements[i]->GetId() == id)
            return m_customElements[i];
    }
    return nullptr;
}

RibbonControlHandler* RibbonModel::FindTarget(const MKString& id) const
{
    if (RibbonElement* element = FindCustomRibbonElement(id))
        return element;
    return m_handlers ? m_handlers->FindControlHandler(id) : nullptr;
}
