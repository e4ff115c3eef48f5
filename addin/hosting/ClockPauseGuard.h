#pragma once
#include <stdint.h>

class NodeHost;

// Keeps the time spent inside an event (a slide-show handler, the frame tick,
// a hosted control's timer) out of a node host's repaint stopwatch, so that a
// held repaint waits its delay in idle time, not in time the event took.
// Holds a reference on the host from Attach to Release (or destruction).
// PowerPoint's user-interface thread only.
class ClockPauseGuard {
public:
    ClockPauseGuard() = default;
    explicit ClockPauseGuard(NodeHost* host) { Attach(host); }
    ~ClockPauseGuard() { Release(); }
    ClockPauseGuard(const ClockPauseGuard&) = delete;
    ClockPauseGuard& operator=(const ClockPauseGuard&) = delete;

    // Null: nothing held. A guard holding a host releases it first.
    void Attach(NodeHost* host);
    // A watch that ran at Attach loses the time held (restarts when that is
    // all it ran); one started meanwhile starts again from 0.
    void Release();

private:
    NodeHost* m_host = nullptr;
    bool m_wasRunning = false;
    int64_t m_attachedAt = 0;
};
