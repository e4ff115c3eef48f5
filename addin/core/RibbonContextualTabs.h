#pragma once
#include "addin/core/RibbonChildren.h"
#include "addin/core/RibbonElement.h"

class RibbonTabs;

// The ribbon's contextual tab sets ("contextualTabs"). Owns the sets. Its own
// fragments are not written: plug-ins extend the sets, not the list.
class RibbonContextualTabs final : public RibbonElement {
public:
    explicit RibbonContextualTabs(RibbonModel* owner);
    ~RibbonContextualTabs() override;

    int GetTabSetCount() const { return m_tabSets.GetCount(); }
    // The tab set with the built-in id (exact case), appended when new; null
    // when memory runs out.
    RibbonTabs* FindOrAddTabSet(const MKString& idMso);
    void DeleteTabSets();

    bool AppendXml(MKTextBuffer& out) const override;

private:
    RibbonChildren<RibbonTabs> m_tabSets;
};
