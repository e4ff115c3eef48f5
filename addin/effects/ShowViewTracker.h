#pragma once
#include "hostapi/PowerPointInterfaces.h"
#include "base/MKComHolder.h"

// Polls PowerPoint's SlideShowView for its state (1 running, 2 paused, 3
// black screen, 4 white screen, 5 done) and elapsed times, keeping the
// previous and the current value of each. Both states start at 5.
class ShowViewTracker {
public:
    void SetView(PowerPoint::SlideShowView* view) { m_view.Assign(view); }

    // Both times -1.0 at first; false without a view or when a call fails; a
    // done show answers true with both at -1.0.
    bool ReadTimes(double* slideTime, double* presentationTime) const;
    // The current state (0 when unreadable); the previous values move back.
    long Poll();

    long GetState() const { return m_state; }
    long GetPreviousState() const { return m_previousState; }
    double GetSlideTime() const { return m_slideTime; }
    double GetPresentationTime() const { return m_presentationTime; }

private:
    MKComHolder<PowerPoint::SlideShowView> m_view;
    long m_state = PowerPoint::ppSlideShowDone;
    long m_previousState = PowerPoint::ppSlideShowDone;
    double m_slideTime = -1.0;
    double m_previousSlideTime = -1.0;
    double m_presentationTime = -1.0;
    double m_previousPresentationTime = -1.0;
};
