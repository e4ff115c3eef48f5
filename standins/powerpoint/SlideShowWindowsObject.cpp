#include "standins/powerpoint/SlideShowWindowsObject.h"

#include "standins/powerpoint/ComValues.h"
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
    for (auto it = m_items.begin(); it != m_items.end(); ++it) {
        if (*it == window) {
            m_items.erase(it);
            window->Release();
            return;
        }
    }
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
    if (index < 1 || index > static_cast<int>(m_items.size()))
        return E_INVALIDARG;
    return ReturnObject(m_items[index - 1], result);
}

}  // namespace standin
