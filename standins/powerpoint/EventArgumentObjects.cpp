#include "standins/powerpoint/EventArgumentObjects.h"

#include "standins/powerpoint/DispatchObject.h"

namespace standin {

namespace {

template <class I>
class ArgumentObject : public DispatchObject<I> {
public:
    ArgumentObject(const wchar_t* type, const IID& iid) : DispatchObject<I>(type, {iid}) {}
};

}  // namespace

PowerPoint::Selection* NewSelection()
{
    return new ArgumentObject<PowerPoint::Selection>(L"Selection", PowerPoint::IID_Selection);
}

PowerPoint::DocumentWindow* NewDocumentWindow()
{
    return new ArgumentObject<PowerPoint::DocumentWindow>(L"DocumentWindow", PowerPoint::IID_DocumentWindow);
}

PowerPoint::SlideRange* NewSlideRange()
{
    return new ArgumentObject<PowerPoint::SlideRange>(L"SlideRange", PowerPoint::IID_SlideRange);
}

}  // namespace standin
