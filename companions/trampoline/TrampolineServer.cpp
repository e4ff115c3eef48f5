#include "companions/trampoline/TrampolineServer.h"

#include "companions/trampoline/TrampolineClassFactory.h"
#include "companions/trampoline/TrampolineIds.h"
#include "companions/trampoline/TrampolineModule.h"

int TrampolineServer::Run()
{
    static TrampolineClassFactory s_factory;
    m_mainThread = GetCurrentThreadId();
    // Signalled from the start: an unused server ends after the timeout too.
    m_idleEvent = CreateEventW(nullptr, FALSE, TRUE, nullptr);
    m_stopEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!m_idleEvent || !m_stopEvent)
        return E_OUTOFMEMORY;
    SetTrampolineIdleEvent(m_idleEvent);

    DWORD cookie = 0;
    HRESULT hr = CoRegisterClassObject(CLSID_VistelloTrampolineObject, static_cast<IClassFactory*>(&s_factory),
                                       CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE, &cookie);
    HANDLE monitor = SUCCEEDED(hr) ? CreateThread(nullptr, 0, &MonitorThread, this, 0, nullptr) : nullptr;
    int exitCode = FAILED(hr) ? hr : E_FAIL;
    if (monitor) {
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        exitCode = static_cast<int>(message.wParam);
        SetEvent(m_stopEvent);
        WaitForSingleObject(monitor, INFINITE);
        CloseHandle(monitor);
    }
    if (SUCCEEDED(hr)) {
        CoRevokeClassObject(cookie);
        // Calls that were on their way when the class object went.
        Sleep(m_pause);
    }
    SetTrampolineIdleEvent(nullptr);
    CloseHandle(m_idleEvent);
    CloseHandle(m_stopEvent);
    return exitCode;
}

DWORD WINAPI TrampolineServer::MonitorThread(void* self)
{
    static_cast<TrampolineServer*>(self)->Monitor();
    return 0;
}

void TrampolineServer::Monitor()
{
    HANDLE idleOrStop[2] = {m_idleEvent, m_stopEvent};
    for (;;) {
        // Until the module has become idle.
        if (WaitForMultipleObjects(2, idleOrStop, FALSE, INFINITE) != WAIT_OBJECT_0)
            return;
        // Every further idle moment restarts the timeout.
        DWORD wait;
        while ((wait = WaitForMultipleObjects(2, idleOrStop, FALSE, m_idleTimeout)) == WAIT_OBJECT_0) {
        }
        if (wait != WAIT_TIMEOUT)
            return;
        if (TrampolineLockCount() != 0)
            continue;
        // No new activation may start between the test and the end.
        CoSuspendClassObjects();
        if (TrampolineLockCount() == 0) {
            PostThreadMessageW(m_mainThread, WM_QUIT, 0, 0);
            return;
        }
        CoResumeClassObjects();
    }
}
