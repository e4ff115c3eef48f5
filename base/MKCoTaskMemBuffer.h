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

    void* Data() const { return m_block; }
    int Size() const { return m_size; }  // -1 while no block is held

private:
    bool LoadAllocator();

    MKDynLib* m_library = nullptr;
    void*(WINAPI* m_allocate)(SIZE_T) = nullptr;
    void(WINAPI* m_free)(void*) = nullptr;
    void* m_block = nullptr;
    int m_size = -1;
};
