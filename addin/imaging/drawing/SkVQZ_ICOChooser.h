#pragma once
#include "addin/imaging/drawing/DrawBitmap.h"

#include <vector>

// Picks one image of a multi-image file (icons) by config and size. The
// decoder announces the images with Begin and Inspect, then asks Choose.
class SkVQZ_ICOChooser {
public:
    // A width or height of 0 or less asks for the system icon size.
    SkVQZ_ICOChooser(BitmapConfig config, int width, int height);

    void Begin(int count);
    void Inspect(int index, BitmapConfig config, int width, int height);
    // The last image of the requested config and size; -1 when none has
    // them (the decode then fails).
    int Choose() const;
    // For loads that asked for no size: the image of the config whose size
    // is nearest the requested one (ties: the larger, then the later one);
    // -1 when no image has the config.
    int ChooseNearest() const;

    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }

private:
    struct Entry {
        bool kept;
        BitmapConfig config;
        int width;
        int height;
    };
    std::vector<Entry> m_entries;
    BitmapConfig m_config;
    int m_width;
    int m_height;
};
