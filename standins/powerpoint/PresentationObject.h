#pragma once
#include "hostapi/PowerPointInterfaces.h"
#include "standins/powerpoint/DispatchObject.h"
#include "standins/powerpoint/DocumentState.h"

#include <string>

namespace standin {

class PageSetupObject;
class SlideObject;
class SlideShowSettingsObject;
class SlideShowWindowObject;
class SlidesObject;
class TagsObject;

// A presentation built by test code (no file format): name and full name,
// Saved mark, slides, page setup, slide-show settings, tags and the running
// slide show. After Close every member answers E_FAIL.
class PresentationObject : public DispatchObject<PowerPoint::Presentation> {
public:
    explicit PresentationObject(const std::wstring& name);

    // Ends a running show and drops the slides.
    void Close();
    bool IsAlive() const override { return !m_closed; }

    const std::wstring& Name() const { return m_name; }
    void SetName(const std::wstring& name) { m_name = name; }
    void SetFullName(const std::wstring& fullName) { m_fullName = fullName; }
    long Saved() const { return m_document->saved; }
    void SetSaved(long saved) { m_document->saved = saved; }
    const DocumentStatePtr& Document() const { return m_document; }

    SlidesObject* Slides() const { return m_slides; }
    PageSetupObject* PageSetup() const { return m_pageSetup; }
    SlideShowSettingsObject* Settings() const { return m_settings; }
    TagsObject* Tags() const { return m_tags; }
    SlideObject* AddSlide();

    // The running show of this presentation (not counted), or null.
    SlideShowWindowObject* ShowWindow() const { return m_showWindow; }
    void SetShowWindow(SlideShowWindowObject* window) { m_showWindow = window; }

    HRESULT STDMETHODCALLTYPE get_Slides(PowerPoint::Slides** result) override;
    HRESULT STDMETHODCALLTYPE get_PageSetup(PowerPoint::PageSetup** result) override;
    HRESULT STDMETHODCALLTYPE get_SlideShowSettings(PowerPoint::SlideShowSettings** result) override;
    HRESULT STDMETHODCALLTYPE get_Tags(PowerPoint::Tags** result) override;
    HRESULT STDMETHODCALLTYPE get_FullName(BSTR* result) override;
    HRESULT STDMETHODCALLTYPE get_Name(BSTR* result) override;
    HRESULT STDMETHODCALLTYPE get_Saved(long* result) override;
    HRESULT STDMETHODCALLTYPE put_Saved(long value) override;
    HRESULT STDMETHODCALLTYPE get_SlideShowWindow(PowerPoint::SlideShowWindow** result) override;

protected:
    ~PresentationObject() override;

private:
    void CloseParts();

    std::wstring m_name;
    std::wstring m_fullName;
    bool m_closed = false;
    DocumentStatePtr m_document;
    SlidesObject* m_slides;
    PageSetupObject* m_pageSetup;
    SlideShowSettingsObject* m_settings;
    TagsObject* m_tags;
    SlideShowWindowObject* m_showWindow = nullptr;
};

}  // namespace standin
