#include "standins/powerpoint/SlideObject.h"

#include "standins/powerpoint/ComValues.h"
#include "standins/powerpoint/ShapeCollectionObject.h"
#include "standins/powerpoint/ShapeObject.h"
#include "standins/powerpoint/SlidesObject.h"
#include "standins/powerpoint/TagsObject.h"
#include "standins/powerpoint/TimeLineObject.h"

namespace standin {

SlideObject::SlideObject(SlidesObject* owner, const DocumentStatePtr& document, long slideId)
    : DispatchObject(L"Slide", {PowerPoint::IID_Slide}),
      m_owner(owner),
      m_document(document),
      m_slideId(slideId),
      m_name(L"Slide" + std::to_wstring(slideId)),
      m_tags(new TagsObject(document)),
      m_timeLine(new TimeLineObject(document))
{
}

SlideObject::~SlideObject()
{
    Detach();
    m_timeLine->Release();
    m_tags->Release();
}

void SlideObject::Detach()
{
    m_owner = nullptr;
    m_timeLine->Clear();
    m_shapes.Clear();
}

int SlideObject::Index() const
{
    return m_owner ? m_owner->IndexOf(this) + 1 : 0;
}

ShapeObject* SlideObject::AddShape(long type, const std::wstring& name, float left, float top, float width,
                                   float height)
{
    return m_shapes.Add(new ShapeObject(this, m_document, type, NewShapeId(), name, left, top, width, height));
}

HRESULT SlideObject::get_Shapes(PowerPoint::Shapes** result)
{
    STANDIN_ALIVE_OUT(L"get_Shapes", result);
    *result = new ShapeCollectionObject<PowerPoint::Shapes, SlideObject>(L"Shapes", PowerPoint::IID_Shapes, this);
    return S_OK;
}

HRESULT SlideObject::get_Name(BSTR* result)
{
    STANDIN_ALIVE_OUT(L"get_Name", result);
    return ReturnText(m_name, result);
}

HRESULT SlideObject::get_SlideID(long* result)
{
    return GetAliveValue(L"get_SlideID", m_slideId, result);
}

HRESULT SlideObject::get_Tags(PowerPoint::Tags** result)
{
    STANDIN_ALIVE_OUT(L"get_Tags", result);
    return ReturnObject(m_tags, result);
}

HRESULT SlideObject::get_SlideIndex(int* result)
{
    STANDIN_ALIVE_OUT(L"get_SlideIndex", result);
    *result = Index();
    return S_OK;
}

HRESULT SlideObject::get_SlideNumber(int* result)
{
    STANDIN_ALIVE_OUT(L"get_SlideNumber", result);
    *result = Index();
    return S_OK;
}

HRESULT SlideObject::get_TimeLine(PowerPoint::TimeLine** result)
{
    STANDIN_ALIVE_OUT(L"get_TimeLine", result);
    return ReturnObject(m_timeLine, result);
}

HRESULT SlideObject::InvokeMember(DISPID id, WORD flags, DISPPARAMS*, VARIANT* result)
{
    if (id != 2003 || !IsGet(flags))
        return DISP_E_MEMBERNOTFOUND;
    PowerPoint::Shapes* shapes = nullptr;
    HRESULT hr = get_Shapes(&shapes);
    return AnswerObject(hr, shapes, result);
}

}  // namespace standin
