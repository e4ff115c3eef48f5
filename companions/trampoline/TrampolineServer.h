#pragma once
#include <windows.h>

// The local server's life: the class object registered for local-server
// activation, the message loop of the apartment's thread, and a monitor
// thread that ends the loop once no object and no lock has been held for the
// idle timeout. A server started and never used ends the same way.
class TrampolineServer {
public:
    // Timeout and the pause between revoking the class object and leaving.
    explicit TrampolineServer(DWORD idleTimeout = 5000, DWORD pause = 1000)
        : m_idleTimeout(idleTimeout), m_pause(pause)
    {
    }
    TrampolineServer(const TrampolineServer&) = delete;
    TrampolineServer& operator=(const TrampolineServer&) = delete;

    // Runs on the calling thread, which has COM (apartment-threaded). The
    // answer is the loop's exit code, or the failing HRESULT when the class
    // object or the monitor could not be set up.
    int Run();

private:
    static DWORD WINAPI MonitorThread(void* self);
    void Monitor();

    DWORD m_idleTimeout;
    DWORD m_pause;
    DWORD m_mainThread = 0;
    HANDLE m_idleEvent = nullptr;
    HANDLE m_stopEvent = nullptr;
};
