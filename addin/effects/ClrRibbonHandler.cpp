#include "addin/effects/ClrRibbonHandler.h"

#include "addin/effects/ClrObject.h"

ClrRibbonHandler::~ClrRibbonHandler()
{
    delete m_object;
}

HRESULT ClrRibbonHandler::Call(const wchar_t* name, VARIANT* result)
{
    return m_object->InvokeMethod(name, nullptr, 0, result);
}

HRESULT ClrRibbonHandler::Call(const wchar_t* name, VARIANT* result, VARIANT* argument)
{
    if (!argument)
        return E_INVALIDARG;
    return m_object->InvokeMethod(name, argument, 1, result);
}

HRESULT ClrRibbonHandler::OnClick(VARIANT* result)
{
    return Call(L"OnClick", result);
}

HRESULT ClrRibbonHandler::OnToggleClick(VARIANT* result, VARIANT* pressed)
{
    return Call(L"OnToggleClick", result, pressed);
}

HRESULT ClrRibbonHandler::OnItemClick(VARIANT* result, VARIANT* selectedId, VARIANT* selectedIndex)
{
    if (!selectedId || !selectedIndex)
        return E_INVALIDARG;
    // Last argument first: the selected id was given first.
    VARIANT arguments[2] = {*selectedIndex, *selectedId};
    return m_object->InvokeMethod(L"OnItemClick", arguments, 2, result);
}

HRESULT ClrRibbonHandler::GetVisible(VARIANT* result)
{
    return Call(L"GetVisible", result);
}

HRESULT ClrRibbonHandler::GetEnabled(VARIANT* result)
{
    return Call(L"GetEnabled", result);
}

HRESULT ClrRibbonHandler::GetPressed(VARIANT* result)
{
    return Call(L"GetPressed", result);
}

HRESULT ClrRibbonHandler::GetDescription(VARIANT* result)
{
    return Call(L"GetDescription", result);
}

HRESULT ClrRibbonHandler::GetLabel(VARIANT* result)
{
    return Call(L"GetLabel", result);
}

HRESULT ClrRibbonHandler::GetShowLabel(VARIANT* result)
{
    return Call(L"GetShowLabel", result);
}

HRESULT ClrRibbonHandler::GetImage(VARIANT* result)
{
    return Call(L"GetImage", result);
}

HRESULT ClrRibbonHandler::GetShowImage(VARIANT* result)
{
    return Call(L"GetShowImage", result);
}

HRESULT ClrRibbonHandler::GetKeyTip(VARIANT* result)
{
    return Call(L"GetKeyTip", result);
}

HRESULT ClrRibbonHandler::GetScreenTip(VARIANT* result)
{
    return Call(L"GetScreenTip", result);
}

HRESULT ClrRibbonHandler::GetSuperTip(VARIANT* result)
{
    return Call(L"GetSuperTip", result);
}

HRESULT ClrRibbonHandler::GetText(VARIANT* result)
{
    return Call(L"GetText", result);
}

HRESULT ClrRibbonHandler::GetTitle(VARIANT* result)
{
    return Call(L"GetTitle", result);
}

HRESULT ClrRibbonHandler::GetSize(VARIANT* result)
{
    return Call(L"GetSize", result);
}

HRESULT ClrRibbonHandler::GetItemCount(VARIANT* result)
{
    return Call(L"GetItemCount", result);
}

HRESULT ClrRibbonHandler::GetItemLabel(VARIANT* result, VARIANT* index)
{
    return Call(L"GetItemLabel", result, index);
}

HRESULT ClrRibbonHandler::GetItemScreenTip(VARIANT* result, VARIANT* index)
{
    return Call(L"GetItemScreenTip", result, index);
}

HRESULT ClrRibbonHandler::GetItemSuperTip(VARIANT* result, VARIANT* index)
{
    return Call(L"GetItemSuperTip", result, index);
}

HRESULT ClrRibbonHandler::GetItemImage(VARIANT* result, VARIANT* index)
{
    return Call(L"GetItemImage", result, index);
}

HRESULT ClrRibbonHandler::GetItemID(VARIANT* result, VARIANT* index)
{
    return Call(L"GetItemID", result, index);
}

HRESULT ClrRibbonHandler::OnChange(VARIANT* result, VARIANT* text)
{
    return Call(L"OnChange", result, text);
}

HRESULT ClrRibbonHandler::GetContent(VARIANT* result)
{
    return Call(L"GetContent", result);
}

HRESULT ClrRibbonHandler::GetSelectedItemID(VARIANT* result)
{
    return Call(L"GetSelectedItemID", result);
}

HRESULT ClrRibbonHandler::GetSelectedItemIndex(VARIANT* result)
{
    return Call(L"GetSelectedItemIndex", result);
}

HRESULT ClrRibbonHandler::GetItemWidth(VARIANT* result)
{
    return Call(L"GetItemWidth", result);
}

HRESULT ClrRibbonHandler::GetItemHeight(VARIANT* result)
{
    return Call(L"GetItemHeight", result);
}
