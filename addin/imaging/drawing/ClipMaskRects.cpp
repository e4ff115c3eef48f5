#include "addin/imaging/drawing/ClipMaskRects.h"

#include <stddef.h>
#include <stdint.h>

std::vector<RECT> ClipMaskRects(cairo_surface_t* mask, int width, int height)
{
    std::vector<RECT> rects;
    if (!mask) {
        if (width > 0 && height > 0)
            rects.push_back({0, 0, width, height});
        return rects;
    }
    cairo_surface_flush(mask);
    const uint8_t* data = cairo_image_surface_get_data(mask);
    int stride = cairo_image_surface_get_stride(mask);
    if (!data)
        return rects;
    std::vector<RECT> previous;
    size_t previousStart = 0;
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = data + ptrdiff_t(y) * stride;
        std::vector<RECT> runs;
        for (int x = 0; x < width;) {
            if (!row[x]) {
                ++x;
                continue;
            }
            int start = x;
            while (x < width && row[x])
                ++x;
            runs.push_back({start, y, x, y + 1});
        }
        bool same = runs.size() == previous.size();
        for (size_t i = 0; same && i < runs.size(); ++i)
            same = runs[i].left == previous[i].left && runs[i].right == previous[i].right;
        if (same && !runs.empty()) {
            for (size_t i = 0; i < runs.size(); ++i)
                rects[previousStart + i].bottom = y + 1;
        } else {
            previousStart = rects.size();
            rects.insert(rects.end(), runs.begin(), runs.end());
        }
        previous = std::move(runs);
    }
    return rects;
}
