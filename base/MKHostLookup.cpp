#include "base/MKWinsockApi.h"

#include "base/MKHostLookup.h"

#include "base/MKHostCache.h"
#include "base/MKTArray.h"

#include <string.h>

MKHostLookup::~MKHostLookup()
{
    Cancel();
}

bool MKHostLookup::Start(const MKString& host, HINSTANCE module)
{
    Cancel();
    m_host = host;
    m_error = 0;
    m_address = 0;
    if (MKHostCache::Lookup(host, &m_address, &m_error))
        return true;
    const MKWinsockApi* winsock = MKWinsockApi::Get();
    if (!winsock) {
        m_error = int(GetLastError());
        return false;
    }
    if (!m_window.Create(module ? module : GetModuleHandleW(nullptr), this)) {
        m_error = int(GetLastError());
        return false;
    }
    MKByteArray name;
    host.ToUtf8(name);
    m_request = winsock->WSAAsyncGetHostByName(m_window.Handle(), WM_USER,
                                               reinterpret_cast<const char*>(name.GetData()), m_result,
                                               int(sizeof m_result));
    if (m_request)
        return true;
    m_error = winsock->WSAGetLastError();
    m_window.DestroyWindow();
    return false;
}

bool MKHostLookup::Pump()
{
    if (!m_request)
        return true;
    MSG message;
    while (m_window.Handle() && PeekMessageW(&message, m_window.Handle(), 0, 0, PM_REMOVE))
        DispatchMessageW(&message);
    return m_request == nullptr;
}

void MKHostLookup::Cancel()
{
    if (m_request) {
        if (const MKWinsockApi* winsock = MKWinsockApi::Get())
            winsock->WSACancelAsyncRequest(m_request);
        m_request = nullptr;
    }
    m_window.DestroyWindow();
}

LRESULT MKHostLookup::HandleWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_USER || !m_request || reinterpret_cast<HANDLE>(wParam) != m_request)
        return DefWindowProcW(window, message, wParam, lParam);
    int error = WSAGETASYNCERROR(lParam);
    const hostent* result = reinterpret_cast<const hostent*>(m_result);
    if (error == 0 && result->h_addr_list && result->h_addr_list[0] && result->h_length == 4) {
        memcpy(&m_address, result->h_addr_list[0], 4);
        m_error = 0;
    } else {
        m_address = 0;
        m_error = error ? error : WSANO_DATA;
    }
    MKHostCache::Store(m_host, m_address, m_error);
    m_request = nullptr;
    m_window.DestroyWindow();
    return 0;
}
