#pragma once
#include "base/MKCallable.h"
#include "base/MKCriticalSection.h"
#include "base/MKHttpRequest.h"
#include "base/MKWinInetApi.h"

class MKHttpConnection;

// The record that an MKHttpRequest and its transfer thread share. Its count is
// locked, so either side may drop the last reference. Every owner field the
// thread writes is written under Lock(); once the owner detaches (owner set to
// null) the thread touches it no more. Run is the thread's body and drops the
// thread's reference when it ends.
class MKHttpTransfer : public MKCallable {
public:
    explicit MKHttpTransfer(MKHttpRequest* owner);

    void AddRef();
    void Release();

    CRITICAL_SECTION* Lock() { return m_lock.Get(); }
    const MKWinInetApi& Api() const { return m_api; }
    bool LoadApi() { return m_api.Load(); }

    // Under Lock().
    MKHttpRequest* GetOwner() const { return m_owner; }
    void Detach() { m_owner = nullptr; }
    MKHttpConnection* GetConnection() const { return m_connection; }
    bool IsFinished() const { return m_finished; }

    unsigned long Run() override;

    // A copy in a block of its own: string blocks must not be shared across
    // the owner's and the transfer's threads, whose counts are not locked.
    static MKString PrivateCopy(const MKString& text);

private:
    enum BlockStep { kGoOn, kCallBack, kStop };
    // A progress callback to make outside the lock.
    struct ProgressCall {
        MKHttpProgressCallback callback;
        void* data;
        uint32_t lengthLow;
        uint32_t lengthHigh;
        int percentage;
    };

    ~MKHttpTransfer() override;
    // The work of Run; answers when the transfer ended one way or another.
    void Transfer();
    // Takes private copies of what the owner asked for and makes the
    // connection; null when the owner is gone or memory ran out.
    MKHttpConnection* Prepare(MKString& url, MKByteArray& body, MKString& contentType);
    // Hands the send's outcome to the owner; true when the body follows.
    bool TakeResponse(MKHttpConnection& connection, bool sent);
    // Reads the body into the owner's destination until the end.
    void Receive(MKHttpConnection& connection);
    // Hands one read's outcome to the owner, under the lock.
    BlockStep TakeBlock(MKHttpConnection& connection, bool read, const uint8_t* block, DWORD n, ProgressCall* call);
    // The destination refused a block: the transfer ends in error.
    BlockStep Refused();
    // The owner collects the body in its own array, under its body limit.
    static bool KeepsBodyLocked(const MKHttpRequest& owner);

    volatile LONG m_refs = 1;
    MKCriticalSection m_lock;
    MKWinInetApi m_api;
    MKHttpRequest* m_owner;
    MKHttpConnection* m_connection = nullptr;
    bool m_finished = false;
};
