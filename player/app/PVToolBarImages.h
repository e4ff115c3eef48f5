#pragma once
#include <windows.h>

enum { kPVToolBarImageSize = 16 };

// The Play, Pause and Stop images side by side (48 x 16) on the button face
// colour. The tool bar that is handed the bitmap keeps it.
HBITMAP PVCreateToolBarImages();
