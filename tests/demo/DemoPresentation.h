#pragma once
#include "DemoContent.h"
#include "DemoShow.h"

#include <vector>

namespace standin {
class ApplicationObject;
class PresentationObject;
}

// The demo's presentation, made in the stand-in PowerPoint and active: a
// title slide, the slide with the content effects of DemoContent.h and a
// closing slide.
standin::PresentationObject* AddDemoPresentation(standin::ApplicationObject& application);

// What the slide (from 1) shows in the show: its coloured shapes, and on the
// content slide the content over its shapes. Empty past the last slide.
std::vector<DemoArea> DemoSlideAreas(int slide);

// Every area of the slide shows its colour in the picture (nine tenths of
// its inner pixels) or its picture (PictureMatch::Close).
bool ShowsDemoSlide(int slide, const ShowPicture& picture);
