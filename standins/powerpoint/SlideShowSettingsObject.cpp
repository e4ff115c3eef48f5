#include "standins/powerpoint/SlideShowSettingsObject.h"

#include "standins/powerpoint/ComValues.h"
#include "standins/powerpoint/PresentationObject.h"
#include "standins/powerpoint/SlideShowWindowObject.h"
#include "standins/powerpoint/SlidesObject.h"

namespace standin {

SlideShowSettingsObject::SlideShowSettingsObject(PresentationObject* presentation)
    : DispatchObject(L"SlideShowSettings", {PowerPoint::IID_SlideShowSettings}), m_presentation(presentation)
{
}

void SlideShowSettingsObject::SetRange(int first, int last)
{
    m_startingSlide = first;
    m_endingSlide = last;
}

HRESULT SlideShowSettingsObject::get_StartingSlide(int* result)
{
    return GetValue(L"get_StartingSlide", m_startingSlide, result);
}

HRESULT SlideShowSettingsObject::put_StartingSlide(int value)
{
    return PutValue(L"put_StartingSlide", m_startingSlide, value, nullptr, value >= 1);
}

HRESULT SlideShowSettingsObject::get_EndingSlide(int* result)
{
    STANDIN_ENTER_OUT(L"get_EndingSlide", result);
    *result = m_endingSlide > 0 || !m_presentation ? m_endingSlide : m_presentation->Slides()->Count();
    return S_OK;
}

HRESULT SlideShowSettingsObject::put_EndingSlide(int value)
{
    return PutValue(L"put_EndingSlide", m_endingSlide, value, nullptr, value >= 1);
}

HRESULT SlideShowSettingsObject::Run(PowerPoint::SlideShowWindow** result)
{
    STANDIN_ENTER_OUT(L"Run", result);
    *result = nullptr;
    if (!m_presentation)
        return E_FAIL;
    SlideShowWindowObject* window = m_presentation->ShowWindow();
    if (!window)
        window = SlideShowWindowObject::Start(m_presentation, *this);
    return ReturnObject(window, result);
}

HRESULT SlideShowSettingsObject::get_ShowType(long* result)
{
    return GetValue(L"get_ShowType", m_showType, result);
}

HRESULT SlideShowSettingsObject::put_ShowType(long value)
{
    STANDIN_ENTER(L"put_ShowType");
    if (value < PowerPoint::ppShowTypeSpeaker || value > PowerPoint::ppShowTypeKiosk)
        return E_INVALIDARG;
    m_showType = value;
    return S_OK;
}

}  // namespace standin
