#pragma once
#include <windows.h>
#include <oaidl.h>

// Whatever answers the ribbon callbacks of one control id: an element of the
// add-in's own ribbon model or a handler a plug-in registered. Each operation
// gets the callback's result VARIANT (null when Office wants none) and the
// callback's further arguments, borrowed for the call; it answers the
// callback's HRESULT and raises nothing.
class RibbonControlHandler {
public:
    virtual HRESULT OnClick(VARIANT* result) = 0;
    virtual HRESULT OnToggleClick(VARIANT* result, VARIANT* pressed) = 0;
    virtual HRESULT OnItemClick(VARIANT* result, VARIANT* selectedId, VARIANT* selectedIndex) = 0;
    virtual HRESULT GetVisible(VARIANT* result) = 0;
    virtual HRESULT GetEnabled(VARIANT* result) = 0;
    virtual HRESULT GetPressed(VARIANT* result) = 0;
    virtual HRESULT GetDescription(VARIANT* result) = 0;
    virtual HRESULT GetLabel(VARIANT* result) = 0;
    virtual HRESULT GetShowLabel(VARIANT* result) = 0;
    virtual HRESULT GetImage(VARIANT* result) = 0;
    virtual HRESULT GetShowImage(VARIANT* result) = 0;
    virtual HRESULT GetKeyTip(VARIANT* result) = 0;
    virtual HRESULT GetScreenTip(VARIANT* result) = 0;
    virtual HRESULT GetSuperTip(VARIANT* result) = 0;
    virtual HRESULT GetText(VARIANT* result) = 0;
    virtual HRESULT GetTitle(VARIANT* result) = 0;
    virtual HRESULT GetSize(VARIANT* result) = 0;
    virtual HRESULT GetItemCount(VARIANT* result) = 0;
    virtual HRESULT GetItemLabel(VARIANT* result, VARIANT* index) = 0;
    virtual HRESULT GetItemScreenTip(VARIANT* result, VARIANT* index) = 0;
    virtual HRESULT GetItemSuperTip(VARIANT* result, VARIANT* index) = 0;
    virtual HRESULT GetItemImage(VARIANT* result, VARIANT* index) = 0;
    virtual HRESULT GetItemID(VARIANT* result, VARIANT* index) = 0;
    virtual HRESULT OnChange(VARIANT* result, VARIANT* text) = 0;
    virtual HRESULT GetContent(VARIANT* result) = 0;
    virtual HRESULT GetSelectedItemID(VARIANT* result) = 0;
    virtual HRESULT GetSelectedItemIndex(VARIANT* result) = 0;
    virtual HRESULT GetItemWidth(VARIANT* result) = 0;
    virtual HRESULT GetItemHeight(VARIANT* result) = 0;

protected:
    ~RibbonControlHandler() = default;
};
