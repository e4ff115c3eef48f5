#pragma once
#include "base/MKHandyWindow.h"
#include "base/MKString.h"

#include <stdint.h>

// One asynchronous host-name lookup through Winsock, answered as a message to
// a hidden window of the calling thread, which must pump it (Pump). Results
// go to the host cache (MKHostCache). Belongs to one thread.
class MKHostLookup : private MKHandyWindowOwner {
public:
    MKHostLookup() = default;
    ~MKHostLookup();
    MKHostLookup(const MKHostLookup&) = delete;
    MKHostLookup& operator=(const MKHostLookup&) = delete;

    // Answers a cached result at once (nothing pending then), or starts the
    // lookup with a window in the module (null: the program's own). False when
    // Winsock is missing or refused the request; GetError then holds why.
    bool Start(const MKString& host, HINSTANCE module);
    // True when nothing is pending; otherwise dispatches the window's waiting
    // messages and answers whether the lookup completed.
    bool Pump();
    // Abandons a pending lookup.
    void Cancel();

    // Winsock's error (0 for success) and the IPv4 address in network order.
    int GetError() const { return m_error; }
    uint32_t GetAddress() const { return m_address; }

private:
    LRESULT HandleWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

    MKString m_host;
    MKHandyWindow m_window;
    HANDLE m_request = nullptr;
    int m_error = 0;
    uint32_t m_address = 0;
    char m_result[1024];  // MAXGETHOSTSTRUCT: the hostent and what it points to
};
