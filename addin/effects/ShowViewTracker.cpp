#include "addin/effects/ShowViewTracker.h"

bool ShowViewTracker::ReadTimes(double* slideTime, double* presentationTime) const
{
    *slideTime = -1.0;
    *presentationTime = -1.0;
    long state = 0;
    if (!m_view || FAILED(m_view->get_State(&state)))
        return false;
    if (state == PowerPoint::ppSlideShowDone)
        return true;
    float slide = 0;
    float presentation = 0;
    if (FAILED(m_view->get_SlideElapsedTime(&slide)) || FAILED(m_view->get_PresentationElapsedTime(&presentation)))
        return false;
    *slideTime = slide;
    *presentationTime = presentation;
    return true;
}

long ShowViewTracker::Poll()
{
    double slide = 0;
    double presentation = 0;
    if (!ReadTimes(&slide, &presentation))
        slide = presentation = -2147483648.0;
    long state = 0;
    if (!m_view || FAILED(m_view->get_State(&state)))
        state = 0;
    m_previousState = m_state;
    m_previousSlideTime = m_slideTime;
    m_previousPresentationTime = m_presentationTime;
    m_state = state;
    m_slideTime = slide;
    m_presentationTime = presentation;
    return state;
}
