#include "standins/powerpoint/SlideShowWindowsObject.h"

#include "standins/powerpoint/ComValues.h"
#include "standins/powerpoint/ItemList.h"
#include "standins/powerpoint/SlideShowWindowObject.h"

namespace standin {

SlideShowWindowsObject::SlideShowWindowsObject()
    : DispatchObject(L"SlideShowWindows", {PowerPoint::IID_SlideShowWindows, PowerPoint::IID_Collection})
{
}

SlideShowWindowsObject::~SlideShowWindowsObject()
{
    EndAll();
}

void SlideShowWindowsObject::Add(SlideShowWindowObject* window)
{
    m_items.push_back(window);
}

void SlideShowWindowsObject::Remove(SlideShowWindowObject* window)
{
    RemoveItem(m_items, window, [](SlideShowWindowObject*) {});
}

void SlideShowWindowsObject::EndAll()
{
    while (!m_items.empty()) {
        SlideShowWindowObject* window = m_items.back();
        window->AddRef();
        window->End();
        Remove(window);
        window->Release();
    }
}

HRESULT SlideShowWindowsObject::get_Count(long* result)
{
    return GetValue(L"get_Count", static_cast<long>(m_items.size()), result);
}

HRESULT SlideShowWindowsObject::Item(int index, PowerPoint::SlideShowWindow** result)
{
    STANDIN_ENTER_OUT(L"Item", result);
    *result = nullptr;
    return ReturnItem(ItemAt(m_items, index), result);
}

}  // namespace standin
