#pragma once
#include <windows.h>

// The content effects of the demo's presentation: one shape per plug-in of
// the "demo" stand-in installation (standin_install.py's DEMO_CONTENT, kept
// in step), each showing its package entry over the shape: the movies in
// their colour, the image a photograph.
struct DemoContent {
    const char* what;
    // The shape's content type: its effect type's GUID, compact and upper case.
    const wchar_t* contentType;
    // The shape's rectangle in points on the 720 x 540 slide.
    float left, top, width, height;
    COLORREF colour;
    // For a picture rather than a colour: the fixture holding it as the show
    // must show it (see PictureMatch.h).
    const wchar_t* shownPicture = nullptr;
};

constexpr DemoContent kDemoContent[] = {
    {"image effect", L"5C0A7E111D3B4F2A9E613A7B2C9D0E11", 40, 170, 200, 150, 0, L"demo\\picture-shown.rgb"},
    {"Flash movie effect", L"5C0A7E122E4C4A3B8F724B8C3DAE1F22", 260, 170, 200, 150, RGB(32, 176, 64)},
    {"effect movie", L"5C0A7E133F5D4B4CA0835C9D4EBF2A33", 480, 170, 200, 150, RGB(224, 128, 32)},
};

// The slide of the presentation (from 1) that holds the content, and the
// number of slides.
constexpr int kDemoContentSlide = 2;
constexpr size_t kDemoSlideCount = 3;

// What a slide of the show must show: a rectangle of the slide in points
// and its colour, or the picture it shows as DemoContent has it.
struct DemoArea {
    const char* what;
    float left, top, width, height;
    COLORREF colour;
    const wchar_t* shownPicture = nullptr;
};
