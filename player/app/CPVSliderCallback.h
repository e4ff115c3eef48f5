#pragma once

class CPVSlider;

enum { kPVSliderMoved = 5 };

// Told when the user moves the seek bar's thumb (code kPVSliderMoved).
class CPVSliderCallback {
public:
    virtual void OnSliderEvent(int code, int position, CPVSlider* slider) = 0;

protected:
    ~CPVSliderCallback() = default;
};
