#pragma once

// What the slide-show events need of their control: its identity among the
// shapes of a slide and its live movie.
class SlideShowEventTarget {
public:
    // The value the control's GetInternalID answers.
    virtual long InternalId() = 0;
    // With a live Flash window: to the start frame, then play when autoplay
    // is set.
    virtual void RestartLiveMovie() = 0;
    // With a live Flash window: stop, then back to the start frame.
    virtual void StopLiveMovie() = 0;

protected:
    ~SlideShowEventTarget() = default;
};
