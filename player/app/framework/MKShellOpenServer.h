#pragma once
#include <windows.h>
#include <ddeml.h>

// Lets the shell open files in the running program through DDE: answers
// conversations on the service given (the program's file name without its
// extension) and the topic "system", and hands every path of an execute's
// open commands to the opener. The callbacks run on the thread that started
// the server, inside its message loop. One server per process; the opener
// and its context must outlive it.
class MKShellOpenServer {
public:
    using Opener = bool (*)(void* context, const char* path);

    MKShellOpenServer() = default;
    ~MKShellOpenServer();
    MKShellOpenServer(const MKShellOpenServer&) = delete;
    MKShellOpenServer& operator=(const MKShellOpenServer&) = delete;

    // False (nothing registered) when DDE cannot be started or another
    // server of this process runs.
    bool Start(const char* service, Opener opener, void* context);
    void Stop();

private:
    static HDDEDATA CALLBACK Callback(UINT type, UINT format, HCONV conversation, HSZ topic, HSZ service,
                                      HDDEDATA data, ULONG_PTR, ULONG_PTR);
    HDDEDATA Execute(HDDEDATA data);

    DWORD m_instance = 0;
    HSZ m_service = nullptr;
    HSZ m_topic = nullptr;
    Opener m_opener = nullptr;
    void* m_context = nullptr;
};
