#pragma once
#include <winsock2.h>
#include <windows.h>

// The Winsock entry points of the host-name lookup: "wsock32.dll", loaded on
// first use for the life of the process and never retried.
class MKWinsockApi {
public:
    // The process's table, or null when the library or an entry point is
    // missing. Safe to call from any thread.
    static const MKWinsockApi* Get();

    decltype(&::WSAGetLastError) WSAGetLastError = nullptr;
    decltype(&::WSAAsyncGetHostByName) WSAAsyncGetHostByName = nullptr;
    decltype(&::WSACancelAsyncRequest) WSACancelAsyncRequest = nullptr;

private:
    MKWinsockApi() = default;
    bool Load();
};
