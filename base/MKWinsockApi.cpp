#include "base/MKWinsockApi.h"

#include "base/MKDynLib.h"

bool MKWinsockApi::Load()
{
    // Kept for the life of the process: lookups may still be answered late.
    static MKDynLib library;
    if (!library.Load(L"wsock32.dll"))
        return false;
    MKCastProc(library.GetProc("WSAGetLastError"), WSAGetLastError);
    MKCastProc(library.GetProc("WSAAsyncGetHostByName"), WSAAsyncGetHostByName);
    MKCastProc(library.GetProc("WSACancelAsyncRequest"), WSACancelAsyncRequest);
    decltype(&::WSAStartup) startup;
    MKCastProc(library.GetProc("WSAStartup"), startup);
    // Winsock answers nothing before WSAStartup; WinINet may not have called it
    // yet when the first lookup starts. The reference is held for good.
    WSADATA data;
    return WSAGetLastError && WSAAsyncGetHostByName && WSACancelAsyncRequest && startup &&
           startup(MAKEWORD(1, 1), &data) == 0;
}

const MKWinsockApi* MKWinsockApi::Get()
{
    static MKWinsockApi api;
    static const bool loaded = api.Load();
    return loaded ? &api : nullptr;
}
