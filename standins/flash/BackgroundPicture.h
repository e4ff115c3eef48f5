#pragma once
#include <string>

namespace standin {

// Checks the picture an effect movie fetches from the background-image folder
// of its host: little-endian u32 0x4845A3C8, then u32 1 and the u32 colour
// 0xAARRGGBB (a uniform picture, 12 bytes), or u32 0, width, height and
// height rows of width x 4 bytes (alpha, red, green, blue), top row first.
// Answers "uniform AARRGGBB", "WxH top-left AARRGGBB" or "rejected: <why>".
std::wstring DescribeBackgroundPicture(const std::string& bytes);

}  // namespace standin
