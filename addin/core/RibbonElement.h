#pragma once
#include "addin/core/RibbonControlHandler.h"
#include "base/MKString.h"
#include "base/MKTOArray.h"

class MKTextBuffer;
class RibbonModel;

// Base of the ribbon model's elements: an id, written as idMso (built-in
// Office id) or id (the add-in's own id), and the XML fragments plug-ins
// appended to the element, in order. An element with its own id registers
// with the model when made, so that callbacks for the id reach it; the
// callbacks an element does not answer succeed and leave the result alone.
// Containers own their children. The model must outlive its elements.
class RibbonElement : public RibbonControlHandler {
public:
    enum IdKind : int32_t { kBuiltIn = 1, kCustom = 2 };

    RibbonElement(RibbonModel* owner, const MKString& id, IdKind kind);
    // An element with its own id leaves the model's list.
    virtual ~RibbonElement();
    RibbonElement(const RibbonElement&) = delete;
    RibbonElement& operator=(const RibbonElement&) = delete;

    const MKString& GetId() const { return m_id; }
    IdKind GetIdKind() const { return m_kind; }
    bool AddFragment(const MKString& xml) { return m_fragments.Add(xml); }
    bool HasFragments() const { return !m_fragments.IsEmpty(); }
    void ClearFragments() { m_fragments.RemoveAll(); }

    // The element's customUI text; empty when it emits nothing or memory ran
    // out.
    MKString ToXml() const;
    // Appends the element's customUI text (nothing when it emits nothing);
    // false when memory runs out.
    virtual bool AppendXml(MKTextBuffer& out) const = 0;

    HRESULT OnClick(VARIANT* result) override;
    HRESULT OnToggleClick(VARIANT* result, VARIANT* pressed) override;
    HRESULT OnItemClick(VARIANT* result, VARIANT* selectedId, VARIANT* selectedIndex) override;
    HRESULT GetVisible(VARIANT* result) override;
    HRESULT GetEnabled(VARIANT* result) override;
    HRESULT GetPressed(VARIANT* result) override;
    HRESULT GetDescription(VARIANT* result) override;
    HRESULT GetLabel(VARIANT* result) override;
    HRESULT GetShowLabel(VARIANT* result) override;
    HRESULT GetImage(VARIANT* result) override;
    HRESULT GetShowImage(VARIANT* result) override;
    HRESULT GetKeyTip(VARIANT* result) override;
    HRESULT GetScreenTip(VARIANT* result) override;
    HRESULT GetSuperTip(VARIANT* result) override;
    HRESULT GetText(VARIANT* result) override;
    HRESULT GetTitle(VARIANT* result) override;
    HRESULT GetSize(VARIANT* result) override;
    HRESULT GetItemCount(VARIANT* result) override;
    HRESULT GetItemLabel(VARIANT* result, VARIANT* index) override;
    HRESULT GetItemScreenTip(VARIANT* result, VARIANT* index) override;
    HRESULT GetItemSuperTip(VARIANT* result, VARIANT* index) override;
    HRESULT GetItemImage(VARIANT* result, VARIANT* index) override;
    HRESULT GetItemID(VARIANT* result, VARIANT* index) override;
    HRESULT OnChange(VARIANT* result, VARIANT* text) override;
    HRESULT GetContent(VARIANT* result) override;
    HRESULT GetSelectedItemID(VARIANT* result) override;
    HRESULT GetSelectedItemIndex(VARIANT* result) override;
    HRESULT GetItemWidth(VARIANT* result) override;
    HRESULT GetItemHeight(VARIANT* result) override;

protected:
    RibbonModel* Owner() const { return m_owner; }
    // The fragments, in order, after whatever the caller wrote.
    bool AppendFragments(MKTextBuffer& out) const;
    // `before`, the id XML-escaped, then `after`.
    bool AppendTagWithId(MKTextBuffer& out, const wchar_t* before, const wchar_t* after) const;

private:
    RibbonModel* m_owner;
    MKString m_id;
    IdKind m_kind;
    MKTOArray<MKString> m_fragments;
};
