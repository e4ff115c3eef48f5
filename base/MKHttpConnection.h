#pragma once
#include "base/MKString.h"
#include "base/MKTArray.h"

#include <stdint.h>
#include <windows.h>
#include <wininet.h>

class MKWinInetApi;

// The WinINet side of one transfer: its three handles and what the response
// said. Made, used and deleted by the transfer thread, except that the owner's
// Cancel may close the internet handle (CloseInternet) to make pending calls
// fail. Every handle is stored and closed under the transfer's lock, which
// Cancel takes too, so no handle is closed twice.
class MKHttpConnection {
public:
    // api and lock must outlive the connection.
    MKHttpConnection(const MKWinInetApi& api, CRITICAL_SECTION* lock, const MKString& userAgent, bool allowCache,
                     bool ignoreCertificateErrors);
    // Closes the handles (taking the lock).
    ~MKHttpConnection();
    MKHttpConnection(const MKHttpConnection&) = delete;
    MKHttpConnection& operator=(const MKHttpConnection&) = delete;

    // Opens the internet handle unless it is open; false with the error text.
    bool OpenInternet();
    // Looks the host up, connects and sends a GET, or a POST when the body
    // holds a byte, then reads status, content length and raw headers. False
    // with the error text; the texts of 12017 (cancelled while the host was
    // looked up) and 12007 (host not found) among them.
    bool Send(const MKString& url, const MKByteArray& body, const MKString& contentType);
    // InternetReadFile on the request; false with the error text.
    bool Read(void* buffer, DWORD size, DWORD* read);

    // With the transfer's lock held.
    void CloseHandlesLocked();
    void CloseInternetLocked();

    const MKString& GetErrorText() const { return m_errorText; }
    int GetStatusCode() const { return m_statusCode; }
    int64_t GetContentLength() const { return m_contentLength; }
    const MKString& GetHeaders() const { return m_headers; }

private:
    bool Fail(DWORD code);
    bool IsInternetOpen();
    // Closes *handle and stores h in its place, under the lock.
    void Replace(HINTERNET* handle, HINTERNET h);
    void QueryResponse(HINTERNET request);

    const MKWinInetApi& m_api;
    CRITICAL_SECTION* m_lock;
    MKString m_userAgent;
    bool m_allowCache;
    bool m_ignoreCertificateErrors;
    HINTERNET m_internet = nullptr;
    HINTERNET m_connection = nullptr;
    HINTERNET m_request = nullptr;
    MKString m_errorText;
    int m_statusCode = -1;
    int64_t m_contentLength = -1;
    MKString m_headers;
};
