#pragma once
#include "addin/core/RibbonControlHandler.h"

class ClrObject;

// A plug-in's .NET handler of ribbon controls: every callback goes to the
// .NET method of the callback's name, with the callback's further arguments.
class ClrRibbonHandler final : public RibbonControlHandler {
public:
    // Takes the object over.
    explicit ClrRibbonHandler(ClrObject* object) : m_object(object) {}
    ~ClrRibbonHandler();
    ClrRibbonHandler(const ClrRibbonHandler&) = delete;
    ClrRibbonHandler& operator=(const ClrRibbonHandler&) = delete;

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

private:
    HRESULT Call(const wchar_t* name, VARIANT* result);
    HRESULT Call(const wchar_t* name, VARIANT* result, VARIANT* argument);

    ClrObject* m_object;
};
