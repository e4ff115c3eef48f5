#pragma once
#include <windows.h>
#include <string>

namespace standin {

class ApplicationObject;
class ComAddInObject;
class RibbonHost;

// The stand-in PowerPoint of one test or of the demo program: the Application
// of the given version, PowerPoint's resource library (PPINTL.DLL) loaded
// into the process, and Office's start-up and shut-down of the COM add-ins.
// Runs on the calling thread, which must have initialised COM (apartment).
class PowerPointHost {
public:
    explicit PowerPointHost(const std::wstring& version = L"14.0");
    // Shuts down when still started, then closes the application.
    ~PowerPointHost();
    PowerPointHost(const PowerPointHost&) = delete;
    PowerPointHost& operator=(const PowerPointHost&) = delete;

    // Office's start-up: connects the LoadBehavior 3 add-ins of the Office
    // add-in keys (see ComAddInsObject::LoadAtStartup).
    void Start();
    // Office's shut-down: ends the shows, then OnBeginShutdown and
    // OnDisconnection for every connected add-in.
    void Shutdown();

    ApplicationObject& App() const { return *m_application; }
    // The COM add-in of the ProgID, or null.
    ComAddInObject* AddIn(const std::wstring& progId) const;
    // The ribbon of the connected add-in of the ProgID, or null.
    RibbonHost* Ribbon(const std::wstring& progId) const;

    // Dispatches the thread's messages (posted messages, timers, paints) for
    // the given time.
    static void Pump(DWORD milliseconds);

private:
    ApplicationObject* m_application;
    HMODULE m_resources = nullptr;
    bool m_started = false;
};

}  // namespace standin
