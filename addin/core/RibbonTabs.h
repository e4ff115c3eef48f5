#pragma once
#include "addin/core/RibbonChildren.h"
#include "addin/core/RibbonElement.h"

class RibbonTab;

// The ribbon's tabs ("tabs"), or one contextual tab set ("tabSet" of a
// built-in id) of them. Owns its tabs. Emits nothing while it has neither
// tabs nor fragments.
class RibbonTabs final : public RibbonElement {
public:
    // The tabs model has an empty id; a tab set the built-in id of the set.
    RibbonTabs(RibbonModel* owner, bool isTabSet, const MKString& idMso);
    ~RibbonTabs() override;

    bool IsTabSet() const { return m_isTabSet; }
    int GetTabCount() const { return m_tabs.GetCount(); }

    // The first tab of the id kind with the id (exact case), appended when
    // new; a new custom tab registers with the model. Null when memory runs
    // out.
    RibbonTab* FindOrAddBuiltInTab(const MKString& idMso);
    RibbonTab* FindOrAddCustomTab(const MKString& id);
    // Deletes every tab but `keep` (which may be null).
    void DeleteTabsBut(const RibbonTab* keep);

    bool AppendXml(MKTextBuffer& out) const override;

private:
    RibbonTab* FindOrAddTab(const MKString& id, IdKind kind);

    bool m_isTabSet;
    RibbonChildren<RibbonTab> m_tabs;
};
