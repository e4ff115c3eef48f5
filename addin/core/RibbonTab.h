#pragma once
#include "addin/core/RibbonChildren.h"
#include "addin/core/RibbonElement.h"

class RibbonGroup;

// A tab of the ribbon: a built-in one that plug-ins extend, or one of the
// add-in's own, whose label, key tip and visibility reach Office through its
// callbacks. Owns its groups. Emits nothing while it has neither groups nor
// fragments.
class RibbonTab final : public RibbonElement {
public:
    RibbonTab(RibbonModel* owner, const MKString& id, IdKind kind);
    ~RibbonTab() override;

    void SetLabel(const MKString& label) { m_label = label; }
    void SetKeyTip(const MKString& keyTip) { m_keyTip = keyTip; }
    void SetVisible(bool visible) { m_visible = visible; }
    int GetGroupCount() const { return m_groups.GetCount(); }

    // The built-in group with the id (exact case), appended when new; null
    // when memory runs out.
    RibbonGroup* FindOrAddGroup(const MKString& idMso);

    bool AppendXml(MKTextBuffer& out) const override;
    HRESULT GetVisible(VARIANT* result) override;
    HRESULT GetLabel(VARIANT* result) override;
    HRESULT GetKeyTip(VARIANT* result) override;

private:
    MKString m_label;
    MKString m_keyTip;
    bool m_visible = true;
    RibbonChildren<RibbonGroup> m_groups;
};
