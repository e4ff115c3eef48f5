#include "base/MKHttpTransfer.h"

#include "base/MKHttpConnection.h"
#include "base/MKHttpRequest.h"
#include "base/MKLock.h"
#include "base/MKOutStream.h"

#include <new>

namespace {

const DWORD kBlockSize = 0x8000;
const wchar_t kTooLarge[] = L"Response Too Large";

int Percentage(int64_t received, int64_t contentLength)
{
    if (contentLength <= 0)
        return 0;
    double percent = double(received) * 100.0 / double(contentLength) + 0.5;
    return percent < 0 ? 0 : percent > 100 ? 100 : int(percent);
}

// Frees the block of a scope.
struct BlockHolder {
    explicit BlockHolder(size_t size) : block(static_cast<uint8_t*>(MKAlloc(size))) {}
    ~BlockHolder() { MKFree(block); }
    uint8_t* block;
};

}  // namespace

MKHttpTransfer::MKHttpTransfer(MKHttpRequest* owner) : m_owner(owner) {}

MKHttpTransfer::~MKHttpTransfer()
{
    delete m_connection;
}

void MKHttpTransfer::AddRef()
{
    InterlockedIncrement(&m_refs);
}

void MKHttpTransfer::Release()
{
    if (InterlockedDecrement(&m_refs) == 0)
        delete this;
}

unsigned long MKHttpTransfer::Run()
{
    unsigned long result = 0;
    try {
        Transfer();
    } catch (...) {
        result = static_cast<unsigned long>(-1);
    }
    MKHttpConnection* connection;
    {
        MKLock lock(Lock());
        connection = m_connection;
        m_connection = nullptr;
        m_finished = true;
    }
    // Its destructor closes the handles under the lock itself.
    delete connection;
    Release();
    return result;
}

MKHttpConnection* MKHttpTransfer::Prepare(MKString& url, MKByteArray& body, MKString& contentType)
{
    MKLock lock(Lock());
    MKHttpRequest* owner = m_owner;
    if (!owner)
        return nullptr;
    url = PrivateCopy(owner->m_url);
    contentType = PrivateCopy(owner->m_contentType);
    owner->m_bytesReceived = -1;
    m_connection = body.Assign(owner->m_requestBody.GetData(), owner->m_requestBody.GetCount())
                       ? new (std::nothrow) MKHttpConnection(m_api, Lock(), PrivateCopy(owner->m_userAgent),
                                                            owner->m_allowCache, owner->m_ignoreCertificateErrors)
                       : nullptr;
    if (!m_connection) {
        owner->m_state = MKHttpRequest::kError;
    }
    return m_connection;
}

bool MKHttpTransfer::TakeResponse(MKHttpConnection& connection, bool sent)
{
    MKLock lock(Lock());
    MKHttpRequest* owner = m_owner;
    if (!owner)
        return false;
    if (!sent) {
        owner->m_state = owner->m_cancelRequested ? MKHttpRequest::kCancelled : MKHttpRequest::kError;
        owner->m_errorText = PrivateCopy(connection.GetErrorText());
        return false;
    }
    owner->m_statusCode = connection.GetStatusCode();
    owner->m_contentLength = connection.GetContentLength();
    owner->m_responseHeaders = PrivateCopy(connection.GetHeaders());
    owner->m_bytesReceived = 0;
    if (owner->m_cancelRequested) {
        owner->m_state = MKHttpRequest::kCancelled;
        owner->m_statusCode = -1;
        owner->m_contentLength = -1;
        owner->m_responseHeaders.Clear();
        return false;
    }
    // A body announced larger than the owner keeps is not read at all.
    if (KeepsBodyLocked(*owner) && owner->m_contentLength > owner->m_bodyLimit) {
        owner->m_state = MKHttpRequest::kError;
        owner->m_errorText = kTooLarge;
        return false;
    }
    owner->m_state = MKHttpRequest::kReceiving;
    return true;
}

void MKHttpTransfer::Transfer()
{
    MKString url, contentType;
    MKByteArray body;
    MKHttpConnection* connection = Prepare(url, body, contentType);
    if (!connection)
        return;
    bool sent = connection->OpenInternet();
    if (sent) {
        // A Cancel that came before the handle existed had nothing to close.
        MKLock lock(Lock());
        if (!m_owner || m_owner->m_cancelRequested)
            connection->CloseInternetLocked();
    }
    sent = sent && connection->Send(url, body, contentType);
    if (TakeResponse(*connection, sent))
        Receive(*connection);
}

MKHttpTransfer::BlockStep MKHttpTransfer::TakeBlock(MKHttpConnection& connection, bool read, const uint8_t* block,
                                                    DWORD n, ProgressCall* call)
{
    MKLock lock(Lock());
    MKHttpRequest* owner = m_owner;
    if (!read) {
        if (owner) {
            owner->m_state = owner->m_cancelRequested ? MKHttpRequest::kCancelled : MKHttpRequest::kError;
            owner->m_errorText = PrivateCopy(connection.GetErrorText());
        }
        return kStop;
    }
    if (n == 0) {
        connection.CloseHandlesLocked();
        if (owner) {
            int64_t length = owner->m_contentLength;
            if (length == -1 || owner->m_bytesReceived >= length) {
                owner->m_state = MKHttpRequest::kDone;
            } else {
                owner->m_state = MKHttpRequest::kError;
                owner->m_errorText = L"Truncated Transfer";
            }
        }
        return kStop;
    }
    if (!owner)
        return kStop;
    owner->m_bytesReceived += n;
    bool accepted;
    if (owner->m_outputStream) {
        accepted = owner->m_outputStream->Write(block, int(n));
    } else if (!owner->m_callback) {
        // Without a length, or with a false one, the limit holds block by block.
        if (int64_t(owner->m_responseBody.GetCount()) + n > owner->m_bodyLimit) {
            owner->m_state = MKHttpRequest::kError;
            owner->m_errorText = kTooLarge;
            return kStop;
        }
        accepted = owner->m_responseBody.AppendRange(block, int(n));
    } else {
        uint64_t length = uint64_t(owner->m_contentLength);
        *call = {owner->m_callback, owner->m_callbackData, uint32_t(length), uint32_t(length >> 32),
                 Percentage(owner->m_bytesReceived, owner->m_contentLength)};
        return kCallBack;
    }
    return accepted ? kGoOn : Refused();
}

MKHttpTransfer::BlockStep MKHttpTransfer::Refused()
{
    MKLock lock(Lock());
    if (m_owner) {
        m_owner->m_state = MKHttpRequest::kError;
        m_owner->m_errorText = L"Internal Output Stream Error";
    }
    return kStop;
}

void MKHttpTransfer::Receive(MKHttpConnection& connection)
{
    BlockHolder buffer(kBlockSize);
    if (!buffer.block) {
        Refused();
        return;
    }
    for (;;) {
        DWORD n = 0;
        bool read = connection.Read(buffer.block, kBlockSize, &n);
        ProgressCall call;
        BlockStep step = TakeBlock(connection, read, buffer.block, n, &call);
        // The callback runs without the lock, so the owner can poll meanwhile.
        if (step == kCallBack)
            step = call.callback(call.data, buffer.block, int(n), call.lengthLow, call.lengthHigh, call.percentage)
                       ? kGoOn
                       : Refused();
        if (step == kStop)
            return;
    }
}

bool MKHttpTransfer::KeepsBodyLocked(const MKHttpRequest& owner)
{
    return !owner.m_outputStream && !owner.m_callback;
}

MKString MKHttpTransfer::PrivateCopy(const MKString& text)
{
    return MKString::MKStringFromChars(text.GetText(), text.GetLength());
}
