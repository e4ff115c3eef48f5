#include "base/MKWinsockApi.h"

#include "base/MKDynLib.h"

namespace {

template <typename F>
void Find(const MKDynLib& library, const char* name, F& entry)
{
    entry = reinterpret_cast<F>(reinterpret_cast<void*>(library.GetProc(name)));
}

}  // namespace

bool MKWinsockApi::Load()
{
    // Kept for the life of the process: lookups may still be answered late.
    static MKDynLib library;
    if (!library.Load(L"wsock32.dll"))
        return false;
    Find(library, "WSAGetLastError", WSAGetLastError);
    Find(library, "WSAAsyncGetHostByName", WSAAsyncGetHostByName);
    Find(library, "WSACancelAsyncRequest", WSACancelAsyncRequest);
    decltype(&::WSAStartup) startup;
    Find(library, "WSAStartup", startup);
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
