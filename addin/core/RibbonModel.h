#pragma once
#include "addin/core/RibbonContextualTabs.h"
#include "addin/core/RibbonTabs.h"
#include "base/MKString.h"
#include "base/MKTArray.h"

class ControlHandlerLookup;
class RibbonControlHandler;
class RibbonElement;

// The add-in's ribbon as it stands: the tabs (with the product's own tab)
// and the contextual tab sets, to which plug-ins append customUI fragments at
// built-in or custom anchors, and the list of elements with ids of their own
// through which ribbon callbacks find their element. Turned into the customUI
// document whenever Office asks. The handler lookup (may be null) must
// outlive the model. PowerPoint's user-interface thread only.
class RibbonModel {
public:
    // The product tab: custom id "VistelloTab", label "Vistello", key tip "M".
    static constexpr const wchar_t* kProductTabId = L"VistelloTab";

    explicit RibbonModel(ControlHandlerLookup* handlers);
    RibbonModel(const RibbonModel&) = delete;
    RibbonModel& operator=(const RibbonModel&) = delete;

    RibbonTabs& Tabs() { return m_tabs; }
    RibbonContextualTabs& ContextualTabs() { return m_contextualTabs; }

    // The whole customUI document; false when memory runs out.
    bool BuildCustomUI(MKString& xml) const;

    // Fragments at the anchors, which are found by id (exact case) or made on
    // the way: the tabs themselves, a built-in tab, a built-in group of a
    // built-in tab, a built-in tab set, a built-in tab of a tab set, a
    // built-in group of such a tab, an element with an id of its own (which
    // must exist). False when the anchor is missing or memory runs out.
    bool AddTabsXml(const MKString& xml);
    bool AddTabXml(const MKString& tabId, const MKString& xml);
    bool AddTabGroupXml(const MKString& tabId, const MKString& groupId, const MKString& xml);
    bool AddTabSetXml(const MKString& tabSetId, const MKString& xml);
    bool AddTabSetTabXml(const MKString& tabSetId, const MKString& tabId, const MKString& xml);
    bool AddTabSetGroupXml(const MKString& tabSetId, const MKString& tabId, const MKString& groupId,
                           const MKString& xml);
    bool AddCustomElementXml(const MKString& elementId, const MKString& xml);

    // Back to the model as made: the plug-ins' fragments and the anchors made
    // for them go, the product tab stays.
    void RemovePluginFragments();

    // Elements with ids of their own, unique by id: false for an id listed
    // already. Called by the elements themselves.
    bool AddCustomRibbonElement(RibbonElement* element);
    void RemoveCustomRibbonElement(RibbonElement* element);
    RibbonElement* FindCustomRibbonElement(const MKString& id) const;

    // Where a callback for the control id goes: the model's own element, else
    // a plug-in's handler; null for neither.
    RibbonControlHandler* FindTarget(const MKString& id) const;

private:
    // The list comes first: elements join it while the models are made and
    // leave it while they go.
    ControlHandlerLookup* m_handlers;
    MKTArray<RibbonElement*> m_customElements;
    RibbonTabs m_tabs;
    RibbonContextualTabs m_contextualTabs;
};
