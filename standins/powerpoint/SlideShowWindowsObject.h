#pragma once
#include "hostapi/PowerPointInterfaces.h"
#include "standins/powerpoint/DispatchObject.h"

#include <vector>

namespace standin {

class SlideShowWindowObject;

// Application.SlideShowWindows: the running shows in the order they started,
// one reference each.
class SlideShowWindowsObject : public DispatchObject<PowerPoint::SlideShowWindows> {
public:
    SlideShowWindowsObject();

    // Takes over the creator's reference.
    void Add(SlideShowWindowObject* window);
    void Remove(SlideShowWindowObject* window);
    // Ends every running show.
    void EndAll();
    const std::vector<SlideShowWindowObject*>& Items() const { return m_items; }

    HRESULT STDMETHODCALLTYPE get_Count(long* result) override;
    HRESULT STDMETHODCALLTYPE Item(int index, PowerPoint::SlideShowWindow** result) override;

protected:
    ~SlideShowWindowsObject() override;

private:
    std::vector<SlideShowWindowObject*> m_items;
};

}  // namespace standin
