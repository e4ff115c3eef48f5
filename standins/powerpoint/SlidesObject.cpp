#include "standins/powerpoint/SlidesObject.h"

#include "standins/powerpoint/ComValues.h"
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
    int index = IndexOf(slide);
    if (index < 0)
        return false;
    m_items.erase(m_items.begin() + index);
    slide->Detach();
    slide->Release();
    return true;
}

void SlidesObject::Clear()
{
    std::vector<SlideObject*> items;
    items.swap(m_items);
    for (SlideObject* slide : items) {
        slide->Detach();
        slide->Release();
    }
}

int SlidesObject::IndexOf(const SlideObject* slide) const
{
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i] == slide)
            return static_cast<int>(i);
    }
    return -1;
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
    std::wstring name;
    long position = 0;
    SlideObject* found = nullptr;
    if (TextFromVariant(index, &name)) {
        for (SlideObject* slide : m_items) {
            if (!found && SameTextIgnoringCase(slide->Name(), name))
                found = slide;
        }
    } else if (IndexFromVariant(index, &position) && position >= 1 && position <= Count()) {
        found = m_items[position - 1];
    }
    if (!found)
        return E_INVALIDARG;
    return ReturnObject(found, result);
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
