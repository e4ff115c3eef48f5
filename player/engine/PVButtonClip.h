#pragma once
#include "player/engine/PVMovieClip.h"

class PVButton;

// Plays a button's state movie on a display list entry: it shows one state
// at a time and moves between them on the transitions the player derives
// from the mouse. A second clip over the same movie stays on the hit-test
// frame for the drawer's mouse test. Holds one reference to the button and
// one to the hit-area clip; starts with playing clear.
class PVButtonClip : public PVMovieClip {
public:
    // Takes a reference to `button`.
    PVButtonClip(PVPlayer* player, PVButton* button);
    ~PVButtonClip() override;

    // Initialises the clip over `stateMovie` (loops clear) and builds the
    // hit-area clip; false when either cannot be made.
    bool Init(const PVString& name, PVMovieClip* parent, PVMovie* stateMovie);

    bool TracksAsMenu() const;
    // Queues the actions of every condition that holds `code` on the parent
    // clip (none once the parent has let go of this clip), then shows the
    // code's state. False, doing nothing, for a code that is not a
    // transition.
    bool OnTransition(int code, PVActionVM& vm);

    // The clip that shows the hit-test state; null before Init.
    PVMovieClip* HitArea() const { return hitArea_; }

private:
    // Replays the state movie from frame 0 to `state`.
    void ShowState(int state);

    PVButton* button_;
    PVMovieClip* hitArea_ = nullptr;
};
