#pragma once
#include <cstdint>
#include <new>

#include "player/engine/PVArena.h"
#include "player/engine/PVCounted.h"
#include "player/engine/PVMovieFrame.h"
#include "player/engine/PVTArray.h"

class PVAudio;

// The frame list of the main movie or of a sprite. Counted: a new movie
// holds one reference for its creator and is deleted when the last one is
// released. Frame slots are made only for frames that carry a label or
// records, so a large claimed frame count costs nothing until it is used.
class PVMovie : public PVCounted<PVMovie> {
public:
    // Frames are numbered 0..kMaxFrames-1: the count is a 16-bit value.
    static constexpr int kMaxFrames = 65535;

    explicit PVMovie(uint16_t frameCount) : PVCounted(1), frameCount_(frameCount) {}
    PVMovie(const PVMovie&) = delete;
    PVMovie& operator=(const PVMovie&) = delete;

    int FrameCount() const { return frameCount_; }
    // Null for a frame without label or records.
    PVMovieFrame* Frame(int index) const;

    // A record of `kind` in the movie's arena, for AddRecord or
    // PVControlRecord::Destroy; null when memory runs out. The parser makes
    // its records here: one heap request per block of records, not per record.
    PVControlRecord* NewRecord(uint16_t kind)
    {
        void* at = arena_.Allocate(sizeof(PVControlRecord));
        if (!at)
            return nullptr;
        auto* record = new (at) PVControlRecord(kind);
        record->pooled = true;
        return record;
    }
    // Appends the record (made by new or NewRecord) to the frame, growing the
    // frame count to index + 1 when the index is not below it. Takes
    // ownership of the record; on failure (allocation, or an index past the
    // last possible frame) the record is freed and the answer is false.
    bool AddRecord(int index, PVControlRecord* record)
    {
        // Records mostly go to a frame that already holds some.
        if (index >= 0 && index < frames_.Count() && frames_[index]) {
            frames_[index]->Append(record);
            return true;
        }
        return AddRecordToNewFrame(index, record);
    }
    // Sets the frame's label under the same growth rule; false on failure.
    bool SetLabel(int index, const char* label, int length);
    // Lowers the frame count to the frames a timeline really holds: `shown`
    // frames ended by ShowFrame, and a last one that holds records or a
    // label after them. Never raises it.
    void TrimFrameCount(int shown);

    bool PathsArePostScript() const { return pathsArePostScript_; }
    void SetPathsArePostScript() { pathsArePostScript_ = true; }

    // The sound streams of this timeline, in the order of their heads; the
    // movie holds one reference to each and releases it when deleted.
    const PVTArray<PVAudio*>& Sounds() const { return sounds_; }
    // Takes over the caller's reference; false (keeping nothing) when the
    // list cannot grow.
    bool AddSound(PVAudio* sound) { return sounds_.Add(sound); }

private:
    friend class PVCounted<PVMovie>;
    ~PVMovie();
    PVMovieFrame* GetOrCreateFrame(int index);
    bool AddRecordToNewFrame(int index, PVControlRecord* record);

    int frameCount_;
    // Holds the frames and the parser's records, destroyed in ~PVMovie.
    PVArena arena_;
    PVTArray<PVMovieFrame*> frames_;
    bool pathsArePostScript_ = false;
    PVTArray<PVAudio*> sounds_;
};
