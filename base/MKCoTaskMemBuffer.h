#pragma once
#include <windows.h>

#include "base/MKDynLib.h"

// Owner of one block of COM task memory, for data that crosses a COM boundary
// and is freed by whoever ends up holding it. The allocator's functions come
// from ole32.dll, loaded at the first allocation; a failed load is tried again
// next time. The destructor frees the block it still holds and unloads ole32.
class MKCoTaskMemBuffer {
public:
    MKCoTaskMemBuffer() = default;
    ~MKCoTaskMemBuffer();
    MKCoTaskMemBuffer(const MKCoTaskMemBuffer&) = delete;
    MKCoTaskMemBuffer& operator=(const MKCoTaskMemBuffer&) = delete;

    // Frees the block held, then allocates `size` bytes; false for a negative
    // size, when ole32 cannot be loaded or the allocation fails.
    bool Allocate(int size);
    // Frees the block held (true when there is none); false only when ole32
    // cannot be loaded.
    bool Free();
    // Hands the block to a new owner, who frees it with CoTaskMemFree; the
    // buffer is empty afterwards.
    void* Detach();

    void* Data() const { return block_; }
    int Size() const { return size_; }  // -1 while no block is held

private:
    bool LoadAllocator();

    MKDynLib* library_ = nullptr;
    void*(WINAPI* allocate_)(SIZE_T) = nullptr;
    void(WINAPI* free_)(void*) = nullptr;
    void* block_ = nullptr;
    int size_ = -1;
};
