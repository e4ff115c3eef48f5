#pragma once
#include <cstdint>

#include "player/engine/PVButtonRecord.h"
#include "player/engine/PVChar.h"
#include "player/engine/PVTArray.h"

class PVAction;
class PVMovie;

// A button character: a four-frame state movie (up, over, down, hit test),
// played by button clips, and action lists run on mouse transitions. The
// button holds one reference to its state movie and owns its conditions.
class PVButton : public PVChar {
public:
    // Mouse transitions; a condition's flags are a set of these.
    enum Transition : uint16_t {
        kIdleToOver = 1,
        kOverToIdle = 2,
        kOverToDown = 4,
        kDownToOver = 8,
        kDownLeaves = 16,
        kDownEnters = 32,
        kReleasedOutside = 64,
        kIdleToDownMenu = 128,
        kDownToIdleMenu = 256,
    };
    enum StateFrame { kUpFrame = 0, kOverFrame = 1, kDownFrame = 2, kHitTestFrame = 3 };

    // An action list and the transitions that run it; owns the list.
    struct ActionCondition {
        ActionCondition(uint16_t flags, PVAction* actions) : flags(flags), actions(actions) {}
        ~ActionCondition();
        ActionCondition(const ActionCondition&) = delete;
        ActionCondition& operator=(const ActionCondition&) = delete;

        uint16_t flags;
        PVAction* actions;
    };

    explicit PVButton(int id) : PVChar(kButton, id) {}
    ~PVButton() override;

    // The state frame a transition shows, or -1 for a code that is not one.
    static int StateForTransition(int code);

    // Makes the state movie: frame i removes what the previous state showed
    // and this one does not, and places what this one adds, so replaying
    // frames 0..k shows state k. False on allocation failure.
    bool BuildStates(const PVTArray<PVButtonRecord>& records);
    // Gives every place record of the state movie this colour transform.
    void SetCxform(const PVCxform& cxform);
    // Takes ownership of the list (and of its references) even on failure.
    bool AddCondition(uint16_t flags, PVAction* actions);

    bool TracksAsMenu() const { return tracksAsMenu_; }
    void SetTracksAsMenu(bool on) { tracksAsMenu_ = on; }
    PVMovie* StateMovie() const { return stateMovie_; }
    const PVTArray<ActionCondition*>& Conditions() const { return conditions_; }

private:
    bool tracksAsMenu_ = false;
    PVMovie* stateMovie_ = nullptr;
    PVTArray<ActionCondition*> conditions_;
};
