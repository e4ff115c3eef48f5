#pragma once

// The application's wait-cursor count: the hourglass shows while it is above
// zero (an opening that ends when playback starts). UI thread only.
class MKWaitCursor {
public:
    static void Begin();
    // Lowers the count (never below zero); at zero the arrow is back.
    static void End();
    static int Count();
    // Answers WM_SETCURSOR while the count is above zero.
    static bool Restore();
};
