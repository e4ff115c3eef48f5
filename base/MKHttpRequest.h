#pragma once
#include "base/MKLock.h"
#include "base/MKString.h"
#include "base/MKTArray.h"

#include <stdint.h>
#include <windows.h>

class MKHttpTransfer;
class MKOutStream;

// Called on the transfer thread for every received block, without the
// request's lock held: (data, block, length, content length low and high 32
// bits, percentage 0..100, 0 when the length is unknown). Answers nonzero to
// go on; 0 ends the transfer with "Internal Output Stream Error".
typedef int (*MKHttpProgressCallback)(void* data, const uint8_t* block, int length, uint32_t contentLengthLow,
                                      uint32_t contentLengthHigh, int percentage);

// One HTTP GET or POST at a time over WinINet (loaded at run time), on a thread
// of its own. The owner starts a transfer, then polls GetState (and the other
// getters) on its own schedule and applies its own time limits; results are
// final once the state is done, error or cancelled. A finished transfer must
// be ended with Cancel before the next Start. The body goes to the output
// stream, else the progress callback, else GetResponseBody; stream and
// callback are used on the transfer thread and must outlive the transfer.
// All methods belong to the owner's thread.
class MKHttpRequest {
public:
    enum State { kIdle = 0, kStarted = 1, kReceiving = 2, kDone = 3, kError = 4, kCancelled = 5 };
    // How long Cancel waits for a running transfer before abandoning it.
    static const int kCancelWaitMs = 3000;
    // The response body held in memory when the owner states no limit of its
    // own: far above any answer the add-in expects, far below what would
    // exhaust a 32-bit host's address space.
    static const int kDefaultBodyLimit = 16 * 1024 * 1024;

    MKHttpRequest();
    // Cancels a transfer still attached.
    ~MKHttpRequest();
    MKHttpRequest(const MKHttpRequest&) = delete;
    MKHttpRequest& operator=(const MKHttpRequest&) = delete;

    // Options of the next Start.
    void SetUserAgent(const MKString& userAgent) { m_userAgent = userAgent; }
    // Of a POST body; empty means "application/x-www-form-urlencoded".
    void SetContentType(const MKString& contentType) { m_contentType = contentType; }
    // Off by default: the request bypasses caches and sends
    // "Cache-Control: no-cache".
    void SetAllowCache(bool allow) { m_allowCache = allow; }
    // For https URLs: accept certificates with a wrong name or date.
    void SetIgnoreCertificateErrors(bool ignore) { m_ignoreCertificateErrors = ignore; }
    // The most bytes the response body may hold in memory (GetResponseBody): a
    // response announcing or sending more ends the transfer in kError with
    // "Response Too Large", having kept no more than the limit. A body that
    // goes to an output stream or a progress callback is not limited here.
    void SetBodyLimit(int bytes) { m_bodyLimit = bytes < 0 ? 0 : bytes; }
    void SetOutputStream(MKOutStream* stream) { m_outputStream = stream; }
    void SetProgressCallback(MKHttpProgressCallback callback, void* data)
    {
        m_callback = callback;
        m_callbackData = data;
    }

    // Starts a POST of length bytes when the body holds any, else a GET. False
    // while a transfer is attached, when the body cannot be copied or WinINet
    // cannot be loaded (state unchanged; nothing is sent) or when no thread
    // could be started (state kError).
    bool Start(const MKString& url, const void* body, int length);
    // Ends the attached transfer: a running one is cancelled (its pending
    // WinINet calls are made to fail) and waited for, at most kCancelWaitMs;
    // after that it is left to finish alone. Afterwards nothing is attached.
    void Cancel();

    int GetState() { return Locked(m_state); }
    int GetStatusCode() { return Locked(m_statusCode); }
    // -1 when the response had no Content-Length.
    int64_t GetContentLength() { return Locked(m_contentLength); }
    // -1 from the thread's start until the response arrived.
    int64_t GetBytesReceived() { return Locked(m_bytesReceived); }
    MKString GetErrorText();
    // Raw, lines separated by CR LF.
    MKString GetResponseHeaders();
    // The received body, once the state is kDone.
    const MKByteArray& GetResponseBody() const { return m_responseBody; }

private:
    friend class MKHttpTransfer;

    // The attached transfer's lock, under which its thread writes the results;
    // null when nothing is attached.
    CRITICAL_SECTION* TransferLock();
    template <typename T>
    T Locked(const T& field)
    {
        MKLock lock(TransferLock());
        return field;
    }

    bool m_allowCache = false;
    bool m_ignoreCertificateErrors = false;
    MKString m_userAgent;
    int32_t m_state = kIdle;
    int32_t m_cancelRequested = 0;
    MKHttpTransfer* m_transfer = nullptr;
    HANDLE m_thread = nullptr;
    MKString m_url;
    MKByteArray m_requestBody;
    MKString m_contentType;
    MKByteArray m_responseBody;
    int32_t m_bodyLimit = kDefaultBodyLimit;
    MKOutStream* m_outputStream = nullptr;
    MKHttpProgressCallback m_callback = nullptr;
    void* m_callbackData = nullptr;
    int64_t m_bytesReceived = 0;
    int32_t m_statusCode = -1;
    int64_t m_contentLength = -1;
    MKString m_responseHeaders;
    MKString m_errorText;
};
