#pragma once
#include "base/MKDynLib.h"

#include <windows.h>
#include <wininet.h>

// The WinINet entry points of the HTTP client, from "wininet.dll" loaded at
// run time (the wide ones by the name with "W" appended). Load takes all or
// nothing. The table must outlive every handle made through it.
class MKWinInetApi {
public:
    MKWinInetApi() = default;
    MKWinInetApi(const MKWinInetApi&) = delete;
    MKWinInetApi& operator=(const MKWinInetApi&) = delete;

    // True when every entry point was found; otherwise the library is freed
    // again and the pointers are null.
    bool Load();
    bool IsLoaded() const { return m_library.IsLoaded(); }
    HMODULE Module() const { return m_library.Handle(); }

    decltype(&::InternetCloseHandle) InternetCloseHandle = nullptr;
    decltype(&::InternetOpenUrlW) InternetOpenUrlW = nullptr;
    decltype(&::InternetOpenW) InternetOpenW = nullptr;
    decltype(&::HttpOpenRequestW) HttpOpenRequestW = nullptr;
    decltype(&::HttpSendRequestW) HttpSendRequestW = nullptr;
    decltype(&::InternetConnectW) InternetConnectW = nullptr;
    decltype(&::InternetCrackUrlW) InternetCrackUrlW = nullptr;
    decltype(&::InternetReadFile) InternetReadFile = nullptr;
    decltype(&::InternetReadFileExW) InternetReadFileExW = nullptr;
    decltype(&::HttpQueryInfoW) HttpQueryInfoW = nullptr;
    decltype(&::InternetSetStatusCallbackW) InternetSetStatusCallbackW = nullptr;

private:
    void Clear();

    MKDynLib m_library;
};
