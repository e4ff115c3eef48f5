#pragma once
#include <cairo.h>
#include <vector>
#include <windows.h>

// The covered pixels of an A8 coverage mask (rows of width pixels, height
// rows) as rectangles in device pixels: runs of covered pixels per row, a
// row with the same runs as the one above extending those rectangles
// downwards. A null mask is the whole width x height; nothing covered gives
// no rectangle.
std::vector<RECT> ClipMaskRects(cairo_surface_t* mask, int width, int height);
