#pragma once
#include "hostapi/PowerPointInterfaces.h"
#include "standins/powerpoint/DispatchObject.h"
#include "standins/powerpoint/DocumentState.h"

#include <vector>

namespace standin {

class SlideObject;

// Presentation.Slides: the slides in order, one reference each. SlideIDs
// start at 256 and are never reused, as in PowerPoint.
class SlidesObject : public DispatchObject<PowerPoint::Slides> {
public:
    explicit SlidesObject(const DocumentStatePtr& document);

    SlideObject* AddSlide();
    bool Remove(SlideObject* slide);
    // Detaches and drops every slide (the presentation closes).
    void Clear();

    int Count() const { return static_cast<int>(m_items.size()); }
    SlideObject* At(int index) const { return m_items[index]; }
    int IndexOf(const SlideObject* slide) const;
    SlideObject* FindById(long slideId) const;

    HRESULT STDMETHODCALLTYPE get_Count(long* result) override;
    HRESULT STDMETHODCALLTYPE Item(VARIANT index, PowerPoint::Slide** result) override;
    HRESULT STDMETHODCALLTYPE FindBySlideID(long slideId, PowerPoint::Slide** result) override;

protected:
    ~SlidesObject() override;

private:
    DocumentStatePtr m_document;
    std::vector<SlideObject*> m_items;
    long m_nextSlideId = 256;
};

}  // namespace standin
