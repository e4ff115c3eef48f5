#include "base/MKHttpRequest.h"

#include "base/MKClock.h"
#include "base/MKHttpConnection.h"
#include "base/MKHttpSendOptions.h"
#include "base/MKHttpTransfer.h"
#include "base/MKLock.h"
#include "base/MKThread.h"

#include <new>

namespace {

const DWORD kCancelPollMs = 50;
const DWORD kThreadEndWaitMs = 1000;

bool IsRunning(int state)
{
    return state == MKHttpRequest::kStarted || state == MKHttpRequest::kReceiving;
}

}  // namespace

MKHttpRequest::MKHttpRequest() : m_contentType(kMKHttpFormContentType) {}

MKHttpRequest::~MKHttpRequest()
{
    if (m_transfer)
        Cancel();
}

bool MKHttpRequest::Start(const MKString& url, const void* body, int length)
{
    if (IsRunning(GetState()) || m_transfer)
        return false;
    m_responseBody.RemoveAll();
    m_url = url;
    if (!body || length < 0)
        m_requestBody.RemoveAll();
    else if (!m_requestBody.Assign(static_cast<const uint8_t*>(body), length))
        return false;  // sent without its body, a POST would go out as a GET
    MKHttpTransfer* transfer = new (std::nothrow) MKHttpTransfer(this);
    if (!transfer)
        return false;
    if (!transfer->LoadApi()) {
        transfer->Release();
        return false;
    }
    m_transfer = transfer;
    m_cancelRequested = 0;
    m_statusCode = -1;
    m_contentLength = -1;
    m_errorText.Clear();
    m_responseHeaders.Clear();

    bool started;
    {
        MKLock lock(transfer->Lock());
        m_state = kStarted;
        transfer->AddRef();  // the thread's own
        // The owner may abandon the thread (Cancel) and its module be unloaded
        // while the thread still waits inside WinINet.
        started = MKRunOnPinnedThread(transfer, &m_thread);
        if (!started) {
            m_transfer = nullptr;
            m_state = kError;
            m_responseBody.RemoveAll();
        }
    }
    if (started)
        return true;
    // Only once the lock is left: the last release deletes the lock with the record.
    transfer->Release();
    transfer->Release();
    return false;
}

void MKHttpRequest::Cancel()
{
    MKHttpTransfer* transfer = m_transfer;
    if (!transfer)
        return;
    bool running;
    {
        MKLock lock(transfer->Lock());
        running = IsRunning(m_state);
        if (running) {
            m_cancelRequested = 1;
            if (MKHttpConnection* connection = transfer->GetConnection())
                connection->CloseInternetLocked();
        }
    }
    if (running) {
        int64_t start = MKClock::ElapsedMs();
        for (;;) {
            if (!IsRunning(GetState())) {
                WaitForSingleObject(m_thread, kThreadEndWaitMs);
                break;
            }
            // The thread may be stuck inside WinINet: leave it to end alone.
            if (MKClock::ElapsedMs() - start >= kCancelWaitMs)
                break;
            Sleep(kCancelPollMs);
        }
    } else {
        bool finished;
        {
            MKLock lock(transfer->Lock());
            finished = transfer->IsFinished();
        }
        if (!finished)
            WaitForSingleObject(m_thread, kThreadEndWaitMs);
    }
    {
        // Whatever the thread still does, it no longer reaches this request.
        // An abandoned transfer counts as cancelled, so the request can start
        // again.
        MKLock lock(transfer->Lock());
        transfer->Detach();
        if (IsRunning(m_state))
            m_state = kCancelled;
    }
    transfer->Release();
    m_transfer = nullptr;
    CloseHandle(m_thread);
    m_thread = nullptr;
}

CRITICAL_SECTION* MKHttpRequest::TransferLock()
{
    return m_transfer ? m_transfer->Lock() : nullptr;
}

MKString MKHttpRequest::GetErrorText()
{
    MKLock lock(TransferLock());
    return MKHttpTransfer::PrivateCopy(m_errorText);
}

MKString MKHttpRequest::GetResponseHeaders()
{
    if (!m_transfer)
        return MKString();
    MKLock lock(m_transfer->Lock());
    return MKHttpTransfer::PrivateCopy(m_responseHeaders);
}
