#pragma once
#include "addin/core/PptObjectRef.h"

class PptShapeRef;

// A holder of a Presentation or a Slide (PptObjectRef.h tells how every
// wrapper answers).
class PptPresentationRef : public PptObjectRef {
public:
    // Presentation: the slide of that id.
    bool FindSlideById(long slideId, PptPresentationRef& out) const;
    // Slide: its Shapes.
    bool GetShapes(PptShapeRef& out) const;
};
