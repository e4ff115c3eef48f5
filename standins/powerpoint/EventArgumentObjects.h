#pragma once
#include "hostapi/PowerPointInterfaces.h"

namespace standin {

// Event arguments that the add-in only queries for their PowerPoint interface
// and hands on: a selection, a document window and a slide range. Each comes
// with one reference for the caller.
PowerPoint::Selection* NewSelection();
PowerPoint::DocumentWindow* NewDocumentWindow();
PowerPoint::SlideRange* NewSlideRange();

}  // namespace standin
