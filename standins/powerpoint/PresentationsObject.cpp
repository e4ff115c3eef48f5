#include "standins/powerpoint/PresentationsObject.h"

#include "standins/powerpoint/ComValues.h"
#include "standins/powerpoint/ItemList.h"
#include "standins/powerpoint/PresentationObject.h"

namespace standin {

PresentationsObject::PresentationsObject()
    : DispatchObject(L"Presentations", {PowerPoint::IID_Presentations, PowerPoint::IID_Collection})
{
}

PresentationsObject::~PresentationsObject()
{
    CloseAll();
}

PresentationObject* PresentationsObject::Add(const std::wstring& name)
{
    auto* presentation = new PresentationObject(name);
    m_items.push_back(presentation);
    return presentation;
}

bool PresentationsObject::Remove(PresentationObject* presentation)
{
    return RemoveItem(m_items, presentation, [](PresentationObject* item) { item->Close(); });
}

void PresentationsObject::CloseAll()
{
    ClearItems(m_items, [](PresentationObject* item) { item->Close(); });
}

HRESULT PresentationsObject::get_Count(long* result)
{
    return GetValue(L"get_Count", static_cast<long>(m_items.size()), result);
}

HRESULT PresentationsObject::Item(VARIANT index, PowerPoint::Presentation** result)
{
    STANDIN_ENTER_OUT(L"Item", result);
    *result = nullptr;
    return ReturnItem(FindItem(m_items, index), result);
}

}  // namespace standin
