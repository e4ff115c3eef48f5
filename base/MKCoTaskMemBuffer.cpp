#include "base/MKCoTaskMemBuffer.h"

#include <new>

MKCoTaskMemBuffer::~MKCoTaskMemBuffer()
{
    Free();
    delete library_;
}

bool MKCoTaskMemBuffer::LoadAllocator()
{
    if (free_)
        return true;
    if (!library_)
        library_ = new (std::nothrow) MKDynLib;
    if (!library_ || !library_->Load(L"ole32.dll"))
        return false;
    // CoTaskMemRealloc is not used here, but an ole32 without it is not one to
    // trust with blocks that other components reallocate.
    if (MKCastProc(library_->GetProc("CoTaskMemAlloc"), allocate_) &&
        MKCastProc(library_->GetProc("CoTaskMemFree"), free_) && library_->GetProc("CoTaskMemRealloc"))
        return true;
    allocate_ = nullptr;
    free_ = nullptr;
    library_->Free();
    return false;
}

bool MKCoTaskMemBuffer::Allocate(int size)
{
    if (!Free() || size < 0 || !LoadAllocator())
        return false;
    block_ = allocate_(static_cast<SIZE_T>(size));
    if (!block_)
        return false;
    size_ = size;
    return true;
}

bool MKCoTaskMemBuffer::Free()
{
    if (!block_)
        return true;
    if (!LoadAllocator())
        return false;
    free_(block_);
    block_ = nullptr;
    size_ = -1;
    return true;
}

void* MKCoTaskMemBuffer::Detach()
{
    void* block = block_;
    block_ = nullptr;
    size_ = -1;
    return block;
}
