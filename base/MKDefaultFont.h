#pragma once
#include <windows.h>

// The library's default font description: 10-pixel Arial, normal weight.
struct MKDefaultFont {
    MKDefaultFont();
    virtual ~MKDefaultFont() = default;

    LOGFONTW font;
};
