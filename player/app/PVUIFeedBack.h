#pragma once
#include <stdint.h>

// What the renderers tell the user interface about playback. The player's
// states: 0 none, 1 Stopped, 2 Paused, 3 Playing, 4 Ended.
class PVUIFeedBack {
public:
    virtual ~PVUIFeedBack() = default;
    virtual void StateChanged() = 0;
    virtual void SetFrameCount(uint16_t count) = 0;
    // The renderer's current frame number.
    virtual void SetCurrentFrame(uint16_t frame) = 0;
    // Measured frames per second in hundredths; 0 clears the display.
    virtual void SetFrameRate(uint32_t rate) = 0;
};

enum PVPlayerState { kPVStateNone = 0, kPVStateStopped = 1, kPVStatePaused = 2, kPVStatePlaying = 3, kPVStateEnded = 4 };
