#pragma once
#include <stddef.h>

// Checks of addresses handed in from the .NET side as plain integers: true
// when the whole range is committed memory of this process that may be read
// (or written).
bool IsReadableRange(const void* address, size_t size);
bool IsWritableRange(void* address, size_t size);
