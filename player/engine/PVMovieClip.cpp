#include "player/engine/PVMovieClip.h"

#include <cmath>
#include <new>

#include <windows.h>

#include "player/engine/PVAction.h"
#include "player/engine/PVActionVM.h"
#include "player/engine/PVAudio.h"
#include "player/engine/PVButton.h"
#include "player/engine/PVButtonClip.h"
#include "player/engine/PVCharDictionary.h"
#include "player/engine/PVControlRecord.h"
#include "player/engine/PVDListObject.h"
#include "player/engine/PVMovie.h"
#include "player/engine/PVPlayer.h"
#include "player/engine/PVSprite.h"

PVMovieClip::~PVMovieClip()
{
    displayList_.Clear();
    if (movie_)
        movie_->Release();
}

bool PVMovieClip::Init(const PVString& name, PVMovieClip* parent, PVMovie* movie, bool loops, PVMovieClip* outer)
{
    if (!name_.Assign(name))
        return false;
    parent_ = parent;
    outer_ = outer;
    nesting_ = outer ? outer->nesting_ + 1 : 0;
    movie->AddRef();
    movie_ = movie;
    loops_ = loops;
    return true;
}

int PVMovieClip::GetFrameCount() const
{
    return movie_ ? movie_->FrameCount() : 0;
}

bool PVMovieClip::ExecuteFrame()
{
    const int frameCount = GetFrameCount();
    if (currentFrame_ == frameCount && loops_ && playing_) {
        if (frameCount > 1)
            displayList_.Clear();
        currentFrame_ = 0;
        // The stream of the first pass has ended: the next pass starts it
        // again from its frame.
        stream_ = nullptr;
    }
    bool queued = false;
    if (!ApplyFrame(currentFrame_, true, queued, true))
        return false;
    StepChildren();
    return true;
}

bool PVMovieClip::Step()
{
    // A stopped clip keeps showing the frame it stopped on: its current
    // frame is the next one to run and waits for play. Only a clip rewound
    // while stopped shows its first frame, once.
    if (!playing_ && !rewound_) {
        StepChildren();
        return true;
    }
    // Played on after that one showing, the clip goes on from the next
    // frame instead of running the first again.
    if (playing_ && firstShown_)
        Advance();
    firstShown_ = false;
    if (!ExecuteFrame())
        return false;
    if (playing_)
        Advance();
    else
        firstShown_ = true;
    return true;
}

void PVMovieClip::StepChildren()
{
    for (int depth = 0; depth < displayList_.Count(); ++depth) {
        const PVDListObject* entry = displayList_.At(depth);
        if (entry && entry->clip)
            entry->clip->Step();
    }
}

void PVMovieClip::Advance()
{
    if (currentFrame_ < GetFrameCount())
        ++currentFrame_;
}

void PVMovieClip::StepBack()
{
    if (currentFrame_ > 0)
        --currentFrame_;
}

void PVMovieClip::Rewind()
{
    currentFrame_ = 0;
    rewound_ = true;
    firstShown_ = false;
    displayList_.Clear();
}

void PVMovieClip::Seek(int frame)
{
    if (frame == currentFrame_)
        return;
    const int frameCount = GetFrameCount();
    const int target = frame < 0 ? 0 : frame > frameCount ? frameCount : frame;
    if (currentFrame_ >= target)
        Rewind();
    bool queued = false;
    for (int f = currentFrame_; f < target; ++f)
        ApplyFrame(f, false, queued, false);
    currentFrame_ = static_cast<uint16_t>(target);
    firstShown_ = false;
    stream_ = nullptr;
    player_->PlaySound(nullptr, 0);
}

bool PVMovieClip::SetPlaying(bool on)
{
    if (on == playing_)
        return true;
    playing_ = on;
    if (!on) {
        StopStream();
        return true;
    }
    const int frameCount = GetFrameCount();
    if (!movie_ || movie_->Sounds().Count() == 0 || frameCount == 0)
        return false;
    const int last = currentFrame_ < frameCount ? currentFrame_ : frameCount - 1;
    PVAudio* stream = nullptr;
    int startFrame = 0;
    for (int f = 0; f <= last; ++f) {
        const PVMovieFrame* frame = movie_->Frame(f);
        for (const PVControlRecord* r = frame ? frame->first : nullptr; r; r = r->next) {
            if (r->kind == PVControlRecord::kStreamStart && r->stream) {
                stream = r->stream;
                startFrame = f;
            }
        }
    }
    if (!stream)
        return false;
    const float rate = player_->FrameRate();
    const int startMs = rate > 0 ? static_cast<int>(std::lround((currentFrame_ - startFrame) / rate * 1000.0)) : 0;
    StartStream(stream, startMs);
    return true;
}

void PVMovieClip::StartStream(PVAudio* stream, int startMs)
{
    stream_ = stream;
    streamFrame_ = currentFrame_;
    player_->PlaySound(stream, startMs);
    // Taken once the audio thread has the sound and its device, which can
    // take tens of milliseconds: the host paces frames from this moment.
    streamTick_ = GetTickCount();
}

void PVMovieClip::StopStream()
{
    if (!stream_)
        return;
    stream_ = nullptr;
    player_->PlaySound(nullptr, 0);
}

int PVMovieClip::GotoFrame(int frame)
{
    const int frameCount = GetFrameCount();
    const int target = frame < 0 ? 0 : frame > frameCount ? frameCount : frame;
    if (target < currentFrame_)
        Rewind();
    SetPlaying(false);
    bool queued = false;
    const int first = currentFrame_;
    for (int f = first; f <= target; ++f)
        ApplyFrame(f, f == target, queued, false);
    currentFrame_ = static_cast<uint16_t>(target < frameCount ? target + 1 : frameCount);
    firstShown_ = false;
    SetPlaying(true);
    return target - first + 1;
}

bool PVMovieClip::ApplyFrame(int frame, bool runActions, bool& queued, bool startSound)
{
    rewound_ = false;
    const PVMovieFrame* f = movie_ ? movie_->Frame(frame) : nullptr;
    for (const PVControlRecord* record = f ? f->first : nullptr; record; record = record->next) {
        if (!ApplyControlRecord(*record, runActions, queued, startSound))
            return false;
    }
    return true;
}

// Removing what is not there is no failure: a frame replayed by a seek or a
// stopped clip removes the same depth again.
bool PVMovieClip::ApplyControlRecord(const PVControlRecord& record, bool runActions, bool& queued,
                                     bool startSound)
{
    switch (record.kind) {
    case PVControlRecord::kRemove:
        if (const PVChar* character = record.Character(*player_->Dictionary()))
            displayList_.RemoveIf(character, record.depth);
        return true;
    case PVControlRecord::kActions:
        return !runActions || QueueActions(*player_->ActionVM(), record.actions, queued);
    case PVControlRecord::kRemoveByDepth:
        displayList_.Remove(record.depth);
        return true;
    case PVControlRecord::kStreamStart:
        // A clip that resumed the stream at this frame already plays it.
        if (startSound && playing_ && record.stream && !(stream_ == record.stream && streamFrame_ == currentFrame_))
            StartStream(record.stream, record.stream->StartOffset());
        return true;
    case PVControlRecord::kPlace:
        return ApplyPlace(record);
    default:
        return true;
    }
}

bool PVMovieClip::ApplyPlace(const PVControlRecord& record)
{
    PVDListObject* entry = displayList_.GetOrCreate(record.depth);
    if (!entry)
        return false;
    bool newCharacter = false;
    if (record.flags & PVControlRecord::kPlaceCharacter) {
        PVChar* character = record.Character(*player_->Dictionary());
        // The fills show the bitmaps of the record's time.
        entry->bitmaps = record.BoundBitmaps();
        if (character != entry->character) {
            entry->SetCharacter(character);
            // The old character's clip would go on playing the old movie.
            entry->ReleaseClip();
            newCharacter = true;
        }
        if (character) {
            const int type = character->Type();
            if (type == PVChar::kButton || type == PVChar::kSprite) {
                if (entry->clip && entry->clip->IsButton() != (type == PVChar::kButton))
                    entry->ReleaseClip();
                if (!entry->clip && !MakeChildClip(*entry, record))
                    return false;
            } else {
                entry->ReleaseClip();
            }
        }
    }
    if (record.flags & PVControlRecord::kPlaceMatrix)
        entry->matrix = record.matrix;
    if (record.flags & PVControlRecord::kPlaceCxform)
        entry->cxform = record.cxform;
    bool newRatio = false;
    if ((record.flags & PVControlRecord::kPlaceRatio) && record.ratio != entry->ratio) {
        entry->ratio = record.ratio;
        newRatio = true;
    }
    if (entry->character && entry->character->Type() == PVChar::kMorph && (newCharacter || newRatio) &&
        !entry->character->SetDisplayRatio(entry->ratio))
        return false;
    if ((record.flags & PVControlRecord::kPlaceName) && !entry->name.Assign(record.name))
        return false;
    // A layer clips the depths above its own up to its clip depth: one at or
    // below its own depth stays a mask, of no depth but its own.
    if (record.flags & PVControlRecord::kPlaceClipDepth)
        entry->clipDepth = record.clipDepth > record.depth || record.clipDepth == 0 ? record.clipDepth : record.depth;
    entry->dirty = true;
    return true;
}

bool PVMovieClip::MayNest(const PVMovie* movie) const
{
    if (nesting_ + 1 >= kMaxNesting)
        return false;
    for (const PVMovieClip* clip = this; clip; clip = clip->outer_) {
        if (clip->movie_ == movie)
            return false;
    }
    return true;
}

bool PVMovieClip::MakeChildClip(PVDListObject& entry, const PVControlRecord& record)
{
    PVChar* character = entry.character;
    const bool button = character->Type() == PVChar::kButton;
    PVMovie* movie =
        button ? static_cast<PVButton*>(character)->StateMovie() : static_cast<PVSprite*>(character)->Movie();
    if (!movie || !MayNest(movie))
        return true;
    const PVString& name = (record.flags & PVControlRecord::kPlaceName) ? record.name : entry.name;
    if (button) {
        auto* clip = new (std::nothrow) PVButtonClip(player_, static_cast<PVButton*>(character));
        if (!clip)
            return false;
        clip->AddRef();
        const bool made = clip->Init(name, this, movie);
        if (made) {
            entry.SetClip(clip);
            clip->ExecuteFrame();
        }
        clip->Release();
        return made;
    }
    auto* clip = new (std::nothrow) PVMovieClip(player_);
    if (!clip)
        return false;
    clip->AddRef();
    const bool made = clip->Init(name, this, movie, true);
    if (made)
        entry.SetClip(clip);
    clip->Release();
    return made;
}

bool PVMovieClip::QueueActions(PVActionVM& vm, PVAction* list, bool& queued)
{
    if (!queued) {
        auto* bind = new (std::nothrow) PVAction_SetTarget;
        if (!bind)
            return false;
        AddRef();
        bind->clip = this;
        if (!vm.Push(bind)) {
            delete bind;
            return false;
        }
        queued = true;
    }
    for (PVAction* action = list; action; action = action->Next()) {
        if (!vm.Push(action))
            return false;
    }
    return true;
}

PVDListObject* PVMovieClip::FindChild(const char* name, int length) const
{
    for (int depth = 0; depth < displayList_.Count(); ++depth) {
        PVDListObject* entry = displayList_.At(depth);
        if (entry && entry->clip && entry->clip->Name().Equals(name, length))
            return entry;
    }
    return nullptr;
}
