#include "base/MKCoTaskMemBuffer.h"

#include <new>

MKCoTaskMemBuffer::~MKCoTaskMemBuffer()
{
    Free();
    delete m_library;
}

bool MKCoTaskMemBuffer::LoadAllocator()
{
    if (m_free)
        return true;
    if (!m_library)
        m_library = new (std::nothrow) MKDynLib;
    if (!m_library || !m_library->Load(L"ole32.dll"))
        return false;
    // CoTaskMemRealloc is not used here, but an ole32 without it is not one to
    // trust with blocks that other components reallocate.
    if (MKCastProc(m_library->GetProc("CoTaskMemAlloc"), m_allocate) &&
        MKCastProc(m_library->GetProc("CoTaskMemFree"), m_free) && m_library->GetProc("CoTaskMemRealloc"))
        return true;
    m_allocate = nullptr;
    m_free = nullptr;
    m_library->Free();
    return false;
}

bool MKCoTaskMemBuffer::Allocate(int size)
{
    if (!Free() || size < 0 || !LoadAllocator())
        return false;
    m_block = m_allocate(static_cast<SIZE_T>(size));
    if (!m_block)
        return false;
    m_size = size;
    return true;
}

bool MKCoTaskMemBuffer::Free()
{
    if (!m_block)
        return true;
    if (!LoadAllocator())
        return false;
    m_free(m_block);
    m_block = nullptr;
    m_size = -1;
    return true;
}

void* MKCoTaskMemBuffer::Detach()
{
    void* block = m_block;
    m_block = nullptr;
    m_size = -1;
    return block;
}
