#include "standins/powerpoint/PresentationObject.h"

#include "standins/powerpoint/ComValues.h"
#include "standins/powerpoint/PageSetupObject.h"
#include "standins/powerpoint/SlideShowSettingsObject.h"
#include "standins/powerpoint/SlideShowWindowObject.h"
#include "standins/powerpoint/SlidesObject.h"
#include "standins/powerpoint/TagsObject.h"

namespace standin {

PresentationObject::PresentationObject(const std::wstring& name)
    : DispatchObject(L"Presentation", {PowerPoint::IID_Presentation}),
      m_name(name),
      m_fullName(L"C:\\Presentations\\" + name),
      m_document(std::make_shared<DocumentState>()),
      m_slides(new SlidesObject(m_document)),
      m_pageSetup(new PageSetupObject(m_document)),
      m_settings(new SlideShowSettingsObject(this)),
      m_tags(new TagsObject(m_document))
{
}

PresentationObject::~PresentationObject()
{
    if (!m_closed)
        CloseParts();
    m_tags->Release();
    m_settings->Release();
    m_pageSetup->Release();
    m_slides->Release();
}

void PresentationObject::Close()
{
    if (m_closed)
        return;
    AddRef();
    CloseParts();
    Release();
}

void PresentationObject::CloseParts()
{
    if (m_showWindow)
        m_showWindow->End();
    m_closed = true;
    m_settings->Detach();
    m_slides->Clear();
}

SlideObject* PresentationObject::AddSlide()
{
    return m_slides->AddSlide();
}

HRESULT PresentationObject::get_Slides(PowerPoint::Slides** result)
{
    STANDIN_ALIVE_OUT(L"get_Slides", result);
    return ReturnObject(m_slides, result);
}

HRESULT PresentationObject::get_PageSetup(PowerPoint::PageSetup** result)
{
    STANDIN_ALIVE_OUT(L"get_PageSetup", result);
    return ReturnObject(m_pageSetup, result);
}

HRESULT PresentationObject::get_SlideShowSettings(PowerPoint::SlideShowSettings** result)
{
    STANDIN_ALIVE_OUT(L"get_SlideShowSettings", result);
    return ReturnObject(m_settings, result);
}

HRESULT PresentationObject::get_Tags(PowerPoint::Tags** result)
{
    STANDIN_ALIVE_OUT(L"get_Tags", result);
    return ReturnObject(m_tags, result);
}

HRESULT PresentationObject::get_FullName(BSTR* result)
{
    STANDIN_ALIVE_OUT(L"get_FullName", result);
    return ReturnText(m_fullName, result);
}

HRESULT PresentationObject::get_Name(BSTR* result)
{
    STANDIN_ALIVE_OUT(L"get_Name", result);
    return ReturnText(m_name, result);
}

HRESULT PresentationObject::get_Saved(long* result)
{
    return GetAliveValue(L"get_Saved", m_document->saved, result);
}

HRESULT PresentationObject::put_Saved(long value)
{
    STANDIN_ALIVE(L"put_Saved");
    m_document->saved = value != PowerPoint::msoFalse ? PowerPoint::msoTrue : PowerPoint::msoFalse;
    return S_OK;
}

HRESULT PresentationObject::get_SlideShowWindow(PowerPoint::SlideShowWindow** result)
{
    if (!result)
        return E_POINTER;
    *result = nullptr;
    STANDIN_ALIVE(L"get_SlideShowWindow");
    return ReturnObject(m_showWindow, result);
}

}  // namespace standin
