#include "base/MKWinInetApi.h"

bool MKWinInetApi::Load()
{
    if (IsLoaded())
        return true;
    if (!m_library.Load(L"wininet.dll"))
        return false;
    bool found = MKCastProc(m_library.GetProc("InternetCloseHandle"), InternetCloseHandle) &&
                 MKCastProc(m_library.GetProcW("InternetOpenUrl"), InternetOpenUrlW) &&
                 MKCastProc(m_library.GetProcW("InternetOpen"), InternetOpenW) &&
                 MKCastProc(m_library.GetProcW("HttpOpenRequest"), HttpOpenRequestW) &&
                 MKCastProc(m_library.GetProcW("HttpSendRequest"), HttpSendRequestW) &&
                 MKCastProc(m_library.GetProcW("InternetConnect"), InternetConnectW) &&
                 MKCastProc(m_library.GetProcW("InternetCrackUrl"), InternetCrackUrlW) &&
                 MKCastProc(m_library.GetProc("InternetReadFile"), InternetReadFile) &&
                 MKCastProc(m_library.GetProcW("InternetReadFileEx"), InternetReadFileExW) &&
                 MKCastProc(m_library.GetProcW("HttpQueryInfo"), HttpQueryInfoW) &&
                 MKCastProc(m_library.GetProcW("InternetSetStatusCallback"), InternetSetStatusCallbackW);
    if (!found) {
        Clear();
        m_library.Free();
    }
    return found;
}

void MKWinInetApi::Clear()
{
    InternetCloseHandle = nullptr;
    InternetOpenUrlW = nullptr;
    InternetOpenW = nullptr;
    HttpOpenRequestW = nullptr;
    HttpSendRequestW = nullptr;
    InternetConnectW = nullptr;
    InternetCrackUrlW = nullptr;
    InternetReadFile = nullptr;
    InternetReadFileExW = nullptr;
    HttpQueryInfoW = nullptr;
    InternetSetStatusCallbackW = nullptr;
}
