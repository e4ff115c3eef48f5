#pragma once
#include <windows.h>

// Dispatches what is waiting in this thread's queue.
inline void PumpMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}
