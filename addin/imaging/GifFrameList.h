#pragma once
#include "addin/imaging/RasterImage.h"
#include "base/MKRefHolder.h"
#include "base/MKTArray.h"

// One frame of an animated GIF: its picture, its delay in hundredths of a
// second (at least 1) and its place on the logical screen.
struct GifFrame {
    MKRefHolder<RasterImage> image;
    int duration;
    int left;
    int top;
};

// The frames of an animation in file order, owned by the list, with the sum
// of their durations.
class GifFrameList {
public:
    GifFrameList() = default;
    ~GifFrameList();
    GifFrameList(const GifFrameList&) = delete;
    GifFrameList& operator=(const GifFrameList&) = delete;

    // Appends a frame holding a reference of its own on the image; a delay of
    // 0 counts as 1. False for a null image or when memory runs out.
    bool AddFrame(RasterImage* image, int delay, int left, int top);

    int GetCount() const { return m_frames.GetCount(); }
    const GifFrame& GetFrame(int index) const { return *m_frames[index]; }
    int GetTotalDuration() const { return m_totalDuration; }

private:
    MKTArray<GifFrame*> m_frames;
    int m_totalDuration = 0;
};
