#include "player/engine/PVMessageQueue.h"

#include <new>

#include "player/engine/PVWaiterList.h"

PVMessageQueue::PVMessageQueue()
{
    InitializeCriticalSection(&queueLock_);
    InitializeCriticalSection(&waiterLock_);
}

PVMessageQueue::~PVMessageQueue()
{
    for (Node* node = front_; node;) {
        Node* next = node->next;
        delete node;
        node = next;
    }
    delete spare_;
    DeleteCriticalSection(&waiterLock_);
    DeleteCriticalSection(&queueLock_);
}

bool PVMessageQueue::Push(PVAudioMessage* message, bool atFront)
{
    auto* node = new (std::nothrow) Node{message, nullptr, nullptr};
    EnterCriticalSection(&queueLock_);
    if (!node && atFront && spare_) {
        node = spare_;
        spare_ = nullptr;
        *node = Node{message, nullptr, nullptr};
    }
    if (!node) {
        LeaveCriticalSection(&queueLock_);
        return false;
    }
    if (atFront) {
        node->next = front_;
        (front_ ? front_->previous : back_) = node;
        front_ = node;
    } else {
        node->previous = back_;
        (back_ ? back_->next : front_) = node;
        back_ = node;
    }
    EnterCriticalSection(&waiterLock_);
    PVWaiterList::WakeHead(waiters_);
    LeaveCriticalSection(&waiterLock_);
    LeaveCriticalSection(&queueLock_);
    return true;
}

bool PVMessageQueue::ReserveFrontNode()
{
    EnterCriticalSection(&queueLock_);
    if (!spare_)
        spare_ = new (std::nothrow) Node{nullptr, nullptr, nullptr};
    const bool reserved = spare_ != nullptr;
    LeaveCriticalSection(&queueLock_);
    return reserved;
}

bool PVMessageQueue::PushBack(PVAudioMessage* message)
{
    return Push(message, false);
}

bool PVMessageQueue::PushFront(PVAudioMessage* message)
{
    return Push(message, true);
}

PVAudioMessage* PVMessageQueue::TakeFront()
{
    Node* node = front_;
    if (!node)
        return nullptr;
    front_ = node->next;
    (front_ ? front_->previous : back_) = nullptr;
    PVAudioMessage* message = node->message;
    delete node;
    return message;
}

PVAudioMessage* PVMessageQueue::PopFront()
{
    EnterCriticalSection(&queueLock_);
    PVAudioMessage* message = TakeFront();
    LeaveCriticalSection(&queueLock_);
    return message;
}

PVAudioMessage* PVMessageQueue::WaitPopFront(DWORD timeoutMs)
{
    EnterCriticalSection(&queueLock_);
    while (!front_) {
        ThreadWaiter* waiter = GetThreadWaiter();
        if (!waiter || !PVWaiterList::Wait(queueLock_, waiterLock_, waiters_, waiter, timeoutMs)) {
            LeaveCriticalSection(&queueLock_);
            return nullptr;
        }
    }
    PVAudioMessage* message = TakeFront();
    LeaveCriticalSection(&queueLock_);
    return message;
}

bool PVMessageQueue::Empty()
{
    EnterCriticalSection(&queueLock_);
    const bool empty = !front_;
    LeaveCriticalSection(&queueLock_);
    return empty;
}
