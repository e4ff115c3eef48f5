#pragma once
#include <windows.h>

namespace standin {

class SlideObject;

// Paints the slide into the area as the show pane shows it: the slide scaled
// to fit and centred on black, its background, then each visible shape in
// z-order as a rectangle of its fill colour and line (a group paints its
// items). Black and white screens (view states 3 and 4) paint only that colour.
void PaintSlide(HDC dc, const RECT& area, SlideObject* slide, float slideWidth, float slideHeight, long state);

}  // namespace standin
