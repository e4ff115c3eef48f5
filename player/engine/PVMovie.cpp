#include "player/engine/PVMovie.h"

#include <new>

#include "player/engine/PVAudio.h"

PVMovie::~PVMovie()
{
    for (int i = 0; i < frames_.Count(); ++i) {
        if (frames_[i])
            frames_[i]->~PVMovieFrame();
    }
    PVReleaseEach(sounds_);
}

PVMovieFrame* PVMovie::Frame(int index) const
{
    return index >= 0 && index < frames_.Count() ? frames_[index] : nullptr;
}

PVMovieFrame* PVMovie::GetOrCreateFrame(int index)
{
    if (index < 0 || index >= kMaxFrames)
        return nullptr;
    if (!frames_.Reach(index, nullptr))
        return nullptr;
    if (!frames_[index]) {
        void* at = arena_.Allocate(sizeof(PVMovieFrame));
        if (!at)
            return nullptr;
        frames_[index] = new (at) PVMovieFrame;
    }
    if (index >= frameCount_)
        frameCount_ = index + 1;
    return frames_[index];
}

bool PVMovie::AddRecordToNewFrame(int index, PVControlRecord* record)
{
    PVMovieFrame* frame = GetOrCreateFrame(index);
    if (!frame) {
        PVControlRecord::Destroy(record);
        return false;
    }
    frame->Append(record);
    return true;
}

bool PVMovie::SetLabel(int index, const char* label, int length)
{
    PVMovieFrame* frame = GetOrCreateFrame(index);
    return frame && frame->label.Assign(label, length);
}

void PVMovie::TrimFrameCount(int shown)
{
    const int held = shown > frames_.Count() ? shown : frames_.Count();
    if (held < frameCount_)
        frameCount_ = held;
}
