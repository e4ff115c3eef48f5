#pragma once
#include <cstdint>

#include "player/engine/PVCounted.h"
#include "player/engine/PVDisplayList.h"
#include "player/engine/PVString.h"

class PVAction;
class PVAudio;
class PVActionVM;
class PVControlRecord;
class PVDListObject;
class PVMovie;
class PVPlayer;

// Plays one movie (the main movie, a sprite's or a button's state movie) on
// its own display list. Counted: a new clip starts at 0, each holder adds
// one, and the last release deletes it. The player and the parent are not
// owned: the player outlives its clips, and a parent cuts its children loose
// (Detach) when it lets go of them.
class PVMovieClip : public PVCounted<PVMovieClip> {
public:
    // Clips nest at most this deep, and never inside a clip that plays the
    // same movie: a sprite or button that places itself would otherwise
    // nest without end within one step.
    static constexpr int kMaxNesting = 32;

    explicit PVMovieClip(PVPlayer* player) : player_(player) {}
    virtual ~PVMovieClip();
    PVMovieClip(const PVMovieClip&) = delete;
    PVMovieClip& operator=(const PVMovieClip&) = delete;

    // Called once: copies the name and takes a reference to the movie; false
    // when the name cannot be stored. `outer` is the clip this one is nested
    // in for the nesting rule: the parent, or for a button's hit area its
    // button.
    bool Init(const PVString& name, PVMovieClip* parent, PVMovie* movie, bool loops, PVMovieClip* outer);
    bool Init(const PVString& name, PVMovieClip* parent, PVMovie* movie, bool loops)
    {
        return Init(name, parent, movie, loops, parent);
    }

    // Runs the current frame's control records (queueing its actions), then
    // steps each child clip; false when a record fails.
    bool ExecuteFrame();
    // One player step: a playing clip executes its current frame and moves
    // to the next; a stopped one shows what it shows, and only its children
    // play on. False when a record fails.
    bool Step();
    void Advance();
    void StepBack();
    // Switching on resumes the movie's stream sound at the current frame
    // (the last stream started at or before it); false when there is none,
    // though the clip plays. Switching off stops the stream in progress.
    bool SetPlaying(bool on);
    // Current frame 0, display list cleared.
    void Rewind();
    // The host's seek bar: rebuilds the display list of `frame` without
    // running actions, and stops all sound.
    void Seek(int frame);
    // The actions' goto: replays up to `frame` (its actions only, no
    // sound), then plays on from the frame after it. Answers how many frames
    // were replayed, which the interpreter counts against its budget.
    int GotoFrame(int frame);

    // Queues `list` for this clip, preceded by a SetTarget bound to it when
    // `queued` is clear (and then sets it); false on allocation failure.
    bool QueueActions(PVActionVM& vm, PVAction* list, bool& queued);
    // The first entry by depth whose child clip has exactly this name.
    PVDListObject* FindChild(const char* name, int length) const;
    // Cuts the link to the parent (the parent lets go of this clip).
    void Detach()
    {
        parent_ = nullptr;
        outer_ = nullptr;
    }

    PVPlayer* Player() const { return player_; }
    const PVString& Name() const { return name_; }
    PVMovieClip* Parent() const { return parent_; }
    PVMovie* Movie() const { return movie_; }
    int GetFrameCount() const;
    int CurrentFrame() const { return currentFrame_; }
    // The frame on show: the one before the current, which is the next to
    // run (-1 before any has run), or the first where a stopped step showed
    // it after a rewind.
    int ShownFrame() const { return firstShown_ ? 0 : currentFrame_ - 1; }
    bool IsPlaying() const { return playing_; }
    bool IsButton() const { return isButton_; }
    PVDisplayList& DisplayList() { return displayList_; }
    const PVDisplayList& DisplayList() const { return displayList_; }

    // The stream sound this clip started last (null when none plays), the
    // frame and the tick count (ms) at which it started; the host holds
    // frames back while they run ahead of the sound.
    PVAudio* StreamInProgress() const { return stream_; }
    int StreamStartFrame() const { return streamFrame_; }
    uint32_t StreamStartTick() const { return streamTick_; }

protected:
    bool isButton_ = false;
    bool playing_ = true;

private:
    // Applies the records of `frame` in order; false at the first that fails.
    bool ApplyFrame(int frame, bool runActions, bool& queued, bool startSound);
    void StepChildren();
    bool ApplyControlRecord(const PVControlRecord& record, bool runActions, bool& queued, bool startSound);
    // Plays `stream` from `startMs` as the clip's stream in progress.
    void StartStream(PVAudio* stream, int startMs);
    // Forgets the stream in progress and stops all sound when there was one.
    void StopStream();
    bool ApplyPlace(const PVControlRecord& record);
    // Gives the entry a child clip for its sprite or button when it has
    // none; false when one cannot be made. A clip the nesting rule refuses
    // is not made, and the entry shows nothing there.
    bool MakeChildClip(PVDListObject& entry, const PVControlRecord& record);
    bool MayNest(const PVMovie* movie) const;

    PVPlayer* player_;
    PVString name_;
    PVMovieClip* parent_ = nullptr;
    PVMovieClip* outer_ = nullptr;
    int nesting_ = 0;
    PVMovie* movie_ = nullptr;
    uint16_t currentFrame_ = 0;
    // Nothing of the current frame 0 is shown yet (new or rewound clip).
    bool rewound_ = true;
    // A stopped step showed the rewound clip's first frame, which stays
    // current until the clip plays on.
    bool firstShown_ = false;
    PVDisplayList displayList_;
    bool loops_ = false;
    PVAudio* stream_ = nullptr;
    uint16_t streamFrame_ = 0;
    uint32_t streamTick_ = 0;
};
