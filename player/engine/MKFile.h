#pragma once

// Plain file-handle wrappers (8-bit paths, system code page). A handle is the
// system's file handle; 0 always means "none", never an invalid-handle value.
// The base library's base/MKFile.h works on paths and has no handle reads.

// Opens an existing file for reading, sharing reads; 0 on any failure.
void* MKFileOpenRead(const char* path);
// 0 when closed, -1 when closing failed.
int MKFileClose(void* handle);
// Reads up to `count` bytes; the number read, 0 on failure or at the end.
int MKFileRead(void* buffer, int count, void* handle);
