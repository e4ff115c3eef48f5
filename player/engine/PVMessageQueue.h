#pragma once
#include <windows.h>

struct PVAudioMessage;
struct ThreadWaiter;

// The audio thread's queue of messages, posted by the user-interface thread
// at either end and taken from the front, with or without waiting. Waits use
// the waiting thread's own waiter (GetThreadWaiter), so the engine must be
// started. The queue lock guards the messages; the waiter lock, always
// taken inside it, guards the list of waiting threads.
class PVMessageQueue {
public:
    PVMessageQueue();
    ~PVMessageQueue();  // frees the nodes, not the messages
    PVMessageQueue(const PVMessageQueue&) = delete;
    PVMessageQueue& operator=(const PVMessageQueue&) = delete;

    // Queue `message` and wake the thread that registered last; false when
    // out of memory.
    bool PushBack(PVAudioMessage* message);
    // Takes the reserved node when no other can be had.
    bool PushFront(PVAudioMessage* message);
    // Keeps one node for a later PushFront (the quit that must always get
    // through); false when out of memory.
    bool ReserveFrontNode();
    // The front message, or null at once when there is none.
    PVAudioMessage* PopFront();
    // The front message, waiting at most `timeoutMs` (INFINITE: no limit)
    // for one; null on a time-out.
    PVAudioMessage* WaitPopFront(DWORD timeoutMs);
    bool Empty();

private:
    struct Node {
        PVAudioMessage* message;
        Node* previous;
        Node* next;
    };
    bool Push(PVAudioMessage* message, bool atFront);
    PVAudioMessage* TakeFront();

    Node* front_ = nullptr;
    Node* back_ = nullptr;
    Node* spare_ = nullptr;
    CRITICAL_SECTION queueLock_;
    CRITICAL_SECTION waiterLock_;
    ThreadWaiter* waiters_ = nullptr;
};
