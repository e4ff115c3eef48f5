#pragma once
#include "hostapi/PowerPointInterfaces.h"
#include "standins/powerpoint/DispatchObject.h"
#include "standins/powerpoint/DocumentState.h"

namespace standin {

// Presentation.PageSetup: the slide size in points (720 × 540 at first).
class PageSetupObject : public DispatchObject<PowerPoint::PageSetup> {
public:
    explicit PageSetupObject(const DocumentStatePtr& document);

    float Width() const { return m_width; }
    float Height() const { return m_height; }
    void SetSize(float width, float height);

    HRESULT STDMETHODCALLTYPE get_SlideHeight(float* result) override;
    HRESULT STDMETHODCALLTYPE put_SlideHeight(float value) override;
    HRESULT STDMETHODCALLTYPE get_SlideWidth(float* result) override;
    HRESULT STDMETHODCALLTYPE put_SlideWidth(float value) override;

private:
    DocumentStatePtr m_document;
    float m_width = 720.0f;
    float m_height = 540.0f;
};

}  // namespace standin
