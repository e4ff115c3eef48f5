#pragma once
#include <stddef.h>

// Checks of addresses handed in from outside as plain integers (the .NET side,
// automation callers): true when the whole range is committed memory of this
// process that may be read (or written). An empty range, a null address or a
// range that runs past the top of the address space is never allowed.
bool MKIsReadableRange(const void* address, size_t size);
bool MKIsWritableRange(void* address, size_t size);
