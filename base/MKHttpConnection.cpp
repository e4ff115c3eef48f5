#include "base/MKHttpConnection.h"

#include "base/MKHostLookup.h"
#include "base/MKHttpErrorText.h"
#include "base/MKHttpSendOptions.h"
#include "base/MKLock.h"
#include "base/MKWinInetApi.h"

namespace {

const DWORD kLookupPollMs = 30;

}  // namespace

MKHttpConnection::MKHttpConnection(const MKWinInetApi& api, CRITICAL_SECTION* lock, const MKString& userAgent,
                                   bool allowCache, bool ignoreCertificateErrors)
    : m_api(api),
      m_lock(lock),
      m_userAgent(userAgent),
      m_allowCache(allowCache),
      m_ignoreCertificateErrors(ignoreCertificateErrors)
{
}

MKHttpConnection::~MKHttpConnection()
{
    MKLock lock(m_lock);
    CloseHandlesLocked();
}

void MKHttpConnection::CloseHandlesLocked()
{
    HINTERNET* handles[] = {&m_request, &m_connection, &m_internet};
    for (HINTERNET* handle : handles) {
        if (*handle)
            m_api.InternetCloseHandle(*handle);
        *handle = nullptr;
    }
}

void MKHttpConnection::CloseInternetLocked()
{
    if (m_internet)
        m_api.InternetCloseHandle(m_internet);
    m_internet = nullptr;
}

bool MKHttpConnection::Fail(DWORD code)
{
    m_errorText = MKHttpErrorText(code, m_api.Module());
    return false;
}

bool MKHttpConnection::IsInternetOpen()
{
    MKLock lock(m_lock);
    return m_internet != nullptr;
}

void MKHttpConnection::Replace(HINTERNET* handle, HINTERNET h)
{
    MKLock lock(m_lock);
    if (*handle)
        m_api.InternetCloseHandle(*handle);
    *handle = h;
}

bool MKHttpConnection::OpenInternet()
{
    if (IsInternetOpen())
        return true;
    HINTERNET internet = m_api.InternetOpenW(m_userAgent.IsEmpty() ? nullptr : m_userAgent.GetText(),
                                             INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    if (!internet)
        return Fail(GetLastError());
    Replace(&m_internet, internet);
    return true;
}

bool MKHttpConnection::Send(const MKString& url, const MKByteArray& body, const MKString& contentType)
{
    // Asked for host and path only, WinINet leaves any query on the path.
    int room = url.GetLength() + 1;
    MKTArray<wchar_t> host, path;
    if (!host.SetSize(room) || !path.SetSize(room))
        return Fail(ERROR_NOT_ENOUGH_MEMORY);
    URL_COMPONENTSW parts = {};
    parts.dwStructSize = sizeof parts;
    parts.lpszHostName = host.GetData();
    parts.dwHostNameLength = DWORD(room);
    parts.lpszUrlPath = path.GetData();
    parts.dwUrlPathLength = DWORD(room);
    if (!m_api.InternetCrackUrlW(url.GetText(), DWORD(url.GetLength()), 0, &parts))
        return Fail(GetLastError());

    // The lookup only fails fast and can be abandoned; WinINet resolves the
    // name again itself.
    MKHostLookup lookup;
    if (!lookup.Start(MKString(host.GetData()), nullptr))
        return Fail(DWORD(lookup.GetError()));
    while (!lookup.Pump()) {
        if (!IsInternetOpen()) {
            lookup.Cancel();
            return Fail(ERROR_INTERNET_OPERATION_CANCELLED);
        }
        Sleep(kLookupPollMs);
    }
    if (lookup.GetError() != 0)
        return Fail(ERROR_INTERNET_NAME_NOT_RESOLVED);

    HINTERNET internet;
    {
        MKLock lock(m_lock);
        internet = m_internet;
    }
    Replace(&m_connection, nullptr);
    HINTERNET connection = m_api.InternetConnectW(internet, host.GetData(), parts.nPort, nullptr, nullptr,
                                                  INTERNET_SERVICE_HTTP, 0, 0);
    if (!connection)
        return Fail(GetLastError());
    Replace(&m_connection, connection);

    // Encryption follows the scheme: a plain server on port 443 stays plain,
    // an https URL on any port is encrypted.
    uint32_t flags = MKHttpRequestFlags(m_allowCache, parts.nScheme == INTERNET_SCHEME_HTTPS,
                                        m_ignoreCertificateErrors);
    bool post = body.GetCount() > 0;
    const wchar_t* accepted[] = {L"*/*", nullptr};
    Replace(&m_request, nullptr);
    HINTERNET request = m_api.HttpOpenRequestW(connection, post ? L"POST" : L"GET", path.GetData(), nullptr, nullptr,
                                               accepted, flags, 0);
    if (!request)
        return Fail(GetLastError());
    Replace(&m_request, request);

    MKString headers = MKHttpExtraHeaders(post, contentType, flags);
    if (!m_api.HttpSendRequestW(request, headers.IsEmpty() ? nullptr : headers.GetText(), DWORD(headers.GetLength()),
                                post ? const_cast<uint8_t*>(body.GetData()) : nullptr, DWORD(body.GetCount())))
        return Fail(GetLastError());
    QueryResponse(request);
    return true;
}

void MKHttpConnection::QueryResponse(HINTERNET request)
{
    DWORD status = 0;
    DWORD size = sizeof status;
    m_statusCode = m_api.HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size,
                                        nullptr)
                       ? int(status)
                       : -1;
    // The number comes as 32 bits; the zeroed 64-bit field keeps the rest 0, so
    // the length compares right against the bytes received.
    uint64_t length = 0;
    size = sizeof(DWORD);
    m_contentLength = m_api.HttpQueryInfoW(request, HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &length,
                                           &size, nullptr)
                          ? int64_t(length)
                          : -1;
    size = 0;
    m_headers.Clear();
    if (m_api.HttpQueryInfoW(request, HTTP_QUERY_RAW_HEADERS_CRLF, nullptr, &size, nullptr) ||
        GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0)
        return;
    // Only what a successful query wrote is handed on: after a failed one the
    // buffer holds nothing of the response.
    int n = int(size / sizeof(wchar_t));
    MKTArray<wchar_t> text;
    if (!text.SetSize(n + 1))
        return;
    size = DWORD((n + 1) * sizeof(wchar_t));
    if (!m_api.HttpQueryInfoW(request, HTTP_QUERY_RAW_HEADERS_CRLF, text.GetData(), &size, nullptr))
        return;
    int written = int(size / sizeof(wchar_t));
    m_headers.Assign(text.GetData(), written < n ? written : n);
}

bool MKHttpConnection::Read(void* buffer, DWORD size, DWORD* read)
{
    *read = 0;
    return m_api.InternetReadFile(m_request, buffer, size, read) ? true : Fail(GetLastError());
}
