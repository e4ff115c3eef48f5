#pragma once
#include <windows.h>

#include <vector>

class WindowedNode;

// The back buffer of a windowed node's Direct3D renderer as 0xAARRGGBB
// pixels, top row first (width x height of the node); empty without a
// Direct3D device or when it cannot be read.
std::vector<DWORD> ReadBackBuffer(WindowedNode* node);
