#include "base/MKMemoryRange.h"

#include <windows.h>
#include <stdint.h>

namespace {

bool IsRangeAllowed(const void* address, size_t size, DWORD allowed)
{
    const char* at = static_cast<const char*>(address);
    if (!at || size == 0 || reinterpret_cast<uintptr_t>(at) + size < reinterpret_cast<uintptr_t>(at))
        return false;
    const char* end = at + size;
    while (at < end) {
        MEMORY_BASIC_INFORMATION info;
        if (VirtualQuery(at, &info, sizeof info) != sizeof info || info.State != MEM_COMMIT ||
            (info.Protect & PAGE_GUARD) != 0 || (info.Protect & allowed) == 0)
            return false;
        at = static_cast<const char*>(info.BaseAddress) + info.RegionSize;
    }
    return true;
}

}  // namespace

bool MKIsReadableRange(const void* address, size_t size)
{
    return IsRangeAllowed(address, size,
                          PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                              PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY);
}

bool MKIsWritableRange(void* address, size_t size)
{
    return IsRangeAllowed(address, size,
                          PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY);
}
