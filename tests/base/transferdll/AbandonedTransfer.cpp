// What an add-in can leave behind when it is unloaded: an HTTP transfer whose
// owner gave up waiting for it, and a host cache destroyed at module stop,
// while the transfer's thread still waits inside WinINet.
#include "base/MKHostCache.h"
#include "base/MKHttpRequest.h"

#include <windows.h>

// Starts a GET of url, lets arrived (the test's wait for the request at the
// server) return, then cancels, deletes the request and the host cache as the
// module stop does. Nonzero when the transfer had started.
extern "C" __declspec(dllexport) int StartAndAbandonTransfer(const wchar_t* url, int (*arrived)(void*),
                                                             void* context)
{
    MKHostCache::Create();
    auto* request = new MKHttpRequest;
    bool started = request->Start(MKString(url), nullptr, 0) && arrived(context);
    request->Cancel();
    delete request;
    MKHostCache::Destroy();
    return started ? 1 : 0;
}
