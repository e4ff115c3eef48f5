#include "addin/core/PptPresentationRef.h"

#include "addin/core/PptShapeRef.h"

using namespace PowerPoint;

bool PptPresentationRef::FindSlideById(long slideId, PptPresentationRef& out) const
{
    MKComHolder<Presentation> presentation;
    Slides* list = nullptr;
    MKComHolder<Slides> slides;
    if (!Query(IID_Presentation, presentation) || !PptFetched(presentation->get_Slides(&list), &list, slides)) {
        out.Release();
        return false;
    }
    Slide* slide = nullptr;
    return PptFetched(slides->FindBySlideID(slideId, &slide), &slide, out);
}

bool PptPresentationRef::GetShapes(PptShapeRef& out) const
{
    return QueryChild(IID_Slide, &Slide::get_Shapes, out);
}
