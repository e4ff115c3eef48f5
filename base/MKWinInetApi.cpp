#include "base/MKWinInetApi.h"

namespace {

template <typename F>
bool Find(const MKDynLib& library, const char* name, bool wide, F& entry)
{
    entry = reinterpret_cast<F>(reinterpret_cast<void*>(wide ? library.GetProcW(name) : library.GetProc(name)));
    return entry != nullptr;
}

}  // namespace

bool MKWinInetApi::Load()
{
    if (IsLoaded())
        return true;
    if (!m_library.Load(L"wininet.dll"))
        return false;
    bool found = Find(m_library, "InternetCloseHandle", false, InternetCloseHandle) &&
                 Find(m_library, "InternetOpenUrl", true, InternetOpenUrlW) &&
                 Find(m_library, "InternetOpen", true, InternetOpenW) &&
                 Find(m_library, "HttpOpenRequest", true, HttpOpenRequestW) &&
                 Find(m_library, "HttpSendRequest", true, HttpSendRequestW) &&
                 Find(m_library, "InternetConnect", true, InternetConnectW) &&
                 Find(m_library, "InternetCrackUrl", true, InternetCrackUrlW) &&
                 Find(m_library, "InternetReadFile", false, InternetReadFile) &&
                 Find(m_library, "InternetReadFileEx", true, InternetReadFileExW) &&
                 Find(m_library, "HttpQueryInfo", true, HttpQueryInfoW) &&
                 Find(m_library, "InternetSetStatusCallback", true, InternetSetStatusCallbackW);
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
