#pragma once

// How deep application events being forwarded to the plug-ins are nested: no
// slide-show session starts while it is above 0. The application event sink
// counts; the add-in owns it. PowerPoint's user-interface thread only.
class EventDepth {
public:
    EventDepth() = default;
    EventDepth(const EventDepth&) = delete;
    EventDepth& operator=(const EventDepth&) = delete;

    int Get() const { return m_depth; }
    void Enter() { ++m_depth; }
    void Leave() { --m_depth; }
    // Back to a depth read before a forward that failed half-way.
    void Restore(int depth) { m_depth = depth; }

private:
    int m_depth = 0;
};
