#include "addin/imaging/GifFrameList.h"

#include "base/MKPointerArrays.h"

#include <new>

GifFrameList::~GifFrameList()
{
    MKDeleteAllItems(m_frames);
}

bool GifFrameList::AddFrame(RasterImage* image, int delay, int left, int top)
{
    if (!image)
        return false;
    if (delay < 1)
        delay = 1;
    GifFrame* frame = new (std::nothrow) GifFrame{MKRefHolder<RasterImage>(), delay, left, top};
    if (!frame)
        return false;
    frame->image.AssignPointer(image);
    if (!m_frames.Add(frame)) {
        delete frame;
        return false;
    }
    m_totalDuration += delay;
    return true;
}
