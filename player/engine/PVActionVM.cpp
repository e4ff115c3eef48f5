#include "player/engine/PVActionVM.h"

#include <array>

#include "player/engine/PVAction.h"
#include "player/engine/PVCounted.h"
#include "player/engine/PVMovie.h"
#include "player/engine/PVMovieClip.h"
#include "player/engine/PVPlayer.h"

PVActionVM::~PVActionVM()
{
    Clear();
    SetTarget(nullptr);
    for (int i = 0; i < waitRuns_.Count(); ++i)
        waitRuns_[i].wait->Release();
}

const PVActionVM::Handler* PVActionVM::Handlers()
{
    static const std::array<Handler, 256> table = [] {
        std::array<Handler, 256> t{};
        t[PVAction::kNextFrame] = &PVActionVM::NextFrame;
        t[PVAction::kPreviousFrame] = &PVActionVM::PreviousFrame;
        t[PVAction::kPlay] = &PVActionVM::Play;
        t[PVAction::kStop] = &PVActionVM::Stop;
        t[PVAction::kToggleQuality] = &PVActionVM::ToggleQuality;
        t[PVAction::kGotoFrame] = &PVActionVM::GotoFrame;
        t[PVAction::kWaitForFrame] = &PVActionVM::WaitForFrame;
        t[PVAction::kSetTarget] = &PVActionVM::SetTargetAction;
        t[PVAction::kGotoLabel] = &PVActionVM::GotoLabel;
        return t;
    }();
    return table.data();
}

bool PVActionVM::Push(PVAction* action)
{
    if (!action)
        return true;
    if (!queue_.Add(action))
        return false;
    action->AddRef();
    return true;
}

void PVActionVM::Clear()
{
    PVReleaseEach(queue_);
    queue_.Trim(0);
}

void PVActionVM::SetTarget(PVMovieClip* clip)
{
    PVHold(target_, clip);
}

bool PVActionVM::Run(double nowSeconds)
{
    const Handler* handlers = Handlers();
    now_ = nowSeconds;
    SetTarget(nullptr);
    budget_ = kRunBudget;
    bool result = true;
    // Handlers may queue more actions (a goto queues its frame's), so the
    // queue is read afresh at every index.
    for (index_ = 0; index_ < queue_.Count(); ++index_) {
        PVAction* action = queue_[index_];
        queue_[index_] = nullptr;
        if (!action)
            continue;
        // Actions without a handler do nothing and cost nothing.
        if (const Handler handler = handlers[action->Code() & 0xFF]) {
            if (budget_ <= 0) {
                result = false;
                action->Release();
                break;
            }
            --budget_;
            (this->*handler)(*action);
        }
        action->Release();
    }
    Clear();
    SetTarget(nullptr);
    if (origin_) {
        origin_->Release();
        origin_ = nullptr;
    }
    return result;
}

// The frames next to the one shown are shown at once: a stopped clip runs
// no frame of its own. The clip plays on, or stays stopped, as it did.
void PVActionVM::NextFrame(PVAction&)
{
    if (target_)
        GotoKeepingPlay(target_->ShownFrame() + 1);
}

void PVActionVM::PreviousFrame(PVAction&)
{
    if (target_ && target_->ShownFrame() > 0)
        GotoKeepingPlay(target_->ShownFrame() - 1);
}

void PVActionVM::GotoKeepingPlay(int frame)
{
    const bool playing = target_->IsPlaying();
    Goto(frame);
    target_->SetPlaying(playing);
}

void PVActionVM::Play(PVAction&)
{
    if (target_)
        target_->SetPlaying(true);
}

void PVActionVM::Stop(PVAction&)
{
    if (target_)
        target_->SetPlaying(false);
}

void PVActionVM::ToggleQuality(PVAction&)
{
    player_->ToggleQuality();
}

// A goto pays for the frames it replays and for every action it queues, so
// a loop of gotos over long lists of idle actions ends as soon as one of
// short lists does.
void PVActionVM::Goto(int frame)
{
    const int queued = queue_.Count();
    budget_ -= target_->GotoFrame(frame);
    budget_ -= queue_.Count() - queued;
}

void PVActionVM::GotoFrame(PVAction& action)
{
    if (target_)
        Goto(static_cast<PVAction_GotoFrame&>(action).frame);
}

// Every frame is loaded before anything plays, yet the first pass through a
// wait skips its actions once, as preloaders expect to see.
void PVActionVM::WaitForFrame(PVAction& action)
{
    if (!target_)
        return;
    auto& wait = static_cast<PVAction_WaitForFrame&>(action);
    // A clock that reads earlier than the first run (it wrapped) skips again.
    if (WaitRun* run = FindWaitRun(&wait)) {
        if (now_ >= run->firstRunSeconds)
            return;
        run->firstRunSeconds = now_;
    } else if (waitRuns_.Add({&wait, now_})) {
        wait.AddRef();
    }
    // The skip stays within the list of the wait: a bound SetTarget opens
    // the next clip's list.
    for (int i = 0; i < wait.skipCount && index_ + 1 < queue_.Count(); ++i) {
        const PVAction* next = queue_[index_ + 1];
        if (next && next->Code() == PVAction::kSetTarget && static_cast<const PVAction_SetTarget*>(next)->clip)
            break;
        ++index_;
        if (PVAction* skipped = queue_[index_]) {
            queue_[index_] = nullptr;
            skipped->Release();
        }
    }
}

PVActionVM::WaitRun* PVActionVM::FindWaitRun(const PVAction* wait)
{
    for (int i = 0; i < waitRuns_.Count(); ++i) {
        if (waitRuns_[i].wait == wait)
            return &waitRuns_[i];
    }
    return nullptr;
}

void PVActionVM::SetTargetAction(PVAction& action)
{
    auto& set = static_cast<PVAction_SetTarget&>(action);
    if (set.clip) {
        PVHold(origin_, set.clip);
        SetTarget(set.clip);
        return;
    }
    // An empty path goes back to the clip whose actions these are, as
    // tellTarget blocks end with it.
    if (set.path.IsEmpty() && origin_) {
        SetTarget(origin_);
        return;
    }
    SetTarget(player_->FindTarget(target_, set.path.Data(), set.path.Length()));
}

void PVActionVM::GotoLabel(PVAction& action)
{
    if (!target_)
        return;
    const PVString& label = static_cast<PVAction_GotoLabel&>(action).label;
    const PVMovie* movie = target_->Movie();
    const int frames = movie ? movie->FrameCount() : 0;
    for (int i = 0; i < frames; ++i) {
        const PVMovieFrame* frame = movie->Frame(i);
        if (frame && frame->label.Equals(label.Data(), label.Length())) {
            Goto(i);
            return;
        }
    }
    // No such label: a label that starts with digits names a frame index.
    const char* text = label.Data();
    if (*text < '0' || *text > '9')
        return;
    int value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        value = value * 10 + (*text - '0');
        if (value > 65535)
            return;
    }
    Goto(value);
}
