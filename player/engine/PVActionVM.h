#pragma once
#include "player/engine/PVTArray.h"

class PVAction;
class PVMovieClip;
class PVPlayer;

// Runs the frame-control subset of actions: clips queue the actions of a
// frame or a button event, and the player runs the queue once per step.
// Every other action is passed over. Each queued action holds one
// reference; the current target holds one reference to its clip. What a run
// leaves behind (when each wait first ran) stays here, never in the parsed
// actions, so one parsed movie can be played by two players.
class PVActionVM {
public:
    // What one run may spend: each action that has a handler costs 1, and a
    // goto 1 more for each frame it replays and each action it queues. A
    // frame that goes to itself, or any loop of gotos, runs out of it and
    // the run ends with the rest of the queue dropped.
    static constexpr int kRunBudget = 20000;

    // The player is not owned and must outlive the interpreter.
    explicit PVActionVM(PVPlayer* player) : player_(player) {}
    ~PVActionVM();
    PVActionVM(const PVActionVM&) = delete;
    PVActionVM& operator=(const PVActionVM&) = delete;

    // Appends with a new reference; null does nothing. False when the queue
    // cannot grow.
    bool Push(PVAction* action);
    // Runs and empties the queue at the player's time (seconds); false when
    // the budget ran out.
    bool Run(double nowSeconds);
    // Releases every queued action and frees the queue.
    void Clear();

    int QueuedCount() const { return queue_.Count(); }

private:
    using Handler = void (PVActionVM::*)(PVAction& action);
    static const Handler* Handlers();

    void SetTarget(PVMovieClip* clip);

    void NextFrame(PVAction& action);
    void PreviousFrame(PVAction& action);
    void Play(PVAction& action);
    void Stop(PVAction& action);
    void ToggleQuality(PVAction& action);
    void GotoFrame(PVAction& action);
    void WaitForFrame(PVAction& action);
    void SetTargetAction(PVAction& action);
    void GotoLabel(PVAction& action);
    // Goto that leaves the target playing or stopped as it was.
    void GotoKeepingPlay(int frame);
    void Goto(int frame);

    // When a wait first ran; holds a reference on the wait, so that its
    // address names it for as long as the entry is kept.
    struct WaitRun {
        PVAction* wait;
        double firstRunSeconds;
    };
    WaitRun* FindWaitRun(const PVAction* wait);

    PVPlayer* player_;
    PVTArray<PVAction*> queue_;
    PVMovieClip* target_ = nullptr;
    // The clip whose actions are running: the last bound SetTarget's clip.
    PVMovieClip* origin_ = nullptr;
    int index_ = 0;
    int budget_ = 0;
    double now_ = 0;
    PVTArray<WaitRun> waitRuns_;
};
