#pragma once
#include <string>

// A wide path in the system code page, as the player's 8-bit file
// functions take it.
std::string NarrowPath(const std::wstring& path);
