#pragma once
#include "base/MKHandyWindow.h"
#include <stdint.h>

class UpdaterLink;

// One deferred call of the updater link: a hidden window to which a message
// is posted, so the call runs later from PowerPoint's message loop and not
// inside the call that asked for it.
class StepHolder : private MKHandyWindowOwner {
public:
    typedef void (UpdaterLink::*Routine)(int32_t argument);

    StepHolder(UpdaterLink* link, Routine routine, int32_t argument)
        : m_link(link), m_routine(routine), m_argument(argument)
    {
    }
    virtual ~StepHolder() = default;
    StepHolder(const StepHolder&) = delete;
    StepHolder& operator=(const StepHolder&) = delete;

    // Forgets the call and destroys the window; the object stays until its
    // owner deletes it.
    void Cancel();
    // The call is running: the holder must outlive it.
    bool IsRunning() const { return m_running; }

    // A holder whose window has the call posted; null when the window cannot
    // be made or the post fails.
    static StepHolder* Post(HINSTANCE instance, UpdaterLink* link, Routine routine, int32_t argument);

private:
    LRESULT HandleWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

    MKHandyWindow m_window;
    UpdaterLink* m_link;
    Routine m_routine;
    int32_t m_argument;
    bool m_running = false;
};
