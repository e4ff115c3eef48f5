#include "standins/powerpoint/SlidesObject.h"

#include "standins/powerpoint/ComValues.h"
#include "standins/powerpoint/ItemList.h"
#include "standins/powerpoint/SlideObject.h"

namespace standin {

SlidesObject::SlidesObject(const DocumentStatePtr& document)
    : DispatchObject(L"Slides", {PowerPoint::IID_Slides, PowerPoint::IID_Collection}), m_document(document)
{
}

SlidesObject::~SlidesObject()
{
    Clear();
}

SlideObject* SlidesObject::AddSlide()
{
    auto* slide = new SlideObject(this, m_document, m_nextSlideId++);
    m_items.push_back(slide);
    return slide;
}

bool SlidesObject::Remove(SlideObject* slide)
{
    return RemoveItem(m_items, slide, [](SlideObject* item) { item->Detach(); });
}

void SlidesObject::Clear()
{
    ClearItems(m_items, [](SlideObject* item) { item->Detach(); });
}

int SlidesObject::IndexOf(const SlideObject* slide) const
{
    return IndexOfItem(m_items, slide);
}

SlideObject* SlidesObject::FindById(long slideId) const
{
    for (SlideObject* slide : m_items) {
        if (slide->SlideId() == slideId)
            return slide;
    }
    return nullptr;
}

HRESULT SlidesObject::get_Count(long* result)
{
    return GetValue(L"get_Count", static_cast<long>(m_items.size()), result);
}

HRESULT SlidesObject::Item(VARIANT index, PowerPoint::Slide** result)
{
    STANDIN_ENTER_OUT(L"Item", result);
    *result = nullptr;
    return ReturnItem(FindItem(m_items, index), result);
}

HRESULT SlidesObject::FindBySlideID(long slideId, PowerPoint::Slide** result)
{
    STANDIN_ENTER_OUT(L"FindBySlideID", result);
    *result = nullptr;
    SlideObject* slide = FindById(slideId);
    if (!slide)
        return E_INVALIDARG;
    return ReturnObject(slide, result);
}

}  // namespace standin
