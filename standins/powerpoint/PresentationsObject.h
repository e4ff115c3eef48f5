#pragma once
#include "hostapi/PowerPointInterfaces.h"
#include "standins/powerpoint/DispatchObject.h"

#include <string>
#include <vector>

namespace standin {

class PresentationObject;

// Application.Presentations: the open presentations in order, one reference
// each; Item takes a VT_I4 position from 1 or a presentation name. The last
// one added is the active presentation.
class PresentationsObject : public DispatchObject<PowerPoint::Presentations> {
public:
    PresentationsObject();

    PresentationObject* Add(const std::wstring& name);
    // Closes the presentation and drops it; false when it is not open here.
    bool Remove(PresentationObject* presentation);
    void CloseAll();
    PresentationObject* Active() const { return m_items.empty() ? nullptr : m_items.back(); }
    const std::vector<PresentationObject*>& Items() const { return m_items; }

    HRESULT STDMETHODCALLTYPE get_Count(long* result) override;
    HRESULT STDMETHODCALLTYPE Item(VARIANT index, PowerPoint::Presentation** result) override;

protected:
    ~PresentationsObject() override;

private:
    std::vector<PresentationObject*> m_items;
};

}  // namespace standin
