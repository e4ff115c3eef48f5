#pragma once
#include <cstdint>
#include <string>

namespace standin {

// "#RRGGBB" or "RRGGBB" as 0x00RRGGBB; false, and the colour untouched, for
// any other text.
bool ParseRgbText(const wchar_t* text, uint32_t& colour);
// "#RRGGBB" of 0x00RRGGBB.
std::wstring RgbText(uint32_t colour);

}  // namespace standin
