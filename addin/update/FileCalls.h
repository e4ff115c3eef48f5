#pragma once
#include <windows.h>

// The file-system calls through which the update engine changes files, so a
// test can make the k-th of them fail and check that every group of changes is
// wholly done or wholly undone. Everything else calls the system directly.
struct FileCalls {
    BOOL(WINAPI* moveFileEx)(LPCWSTR from, LPCWSTR to, DWORD flags);
    BOOL(WINAPI* deleteFile)(LPCWSTR path);
    BOOL(WINAPI* createDirectory)(LPCWSTR path, LPSECURITY_ATTRIBUTES security);
    BOOL(WINAPI* writeFile)(HANDLE file, LPCVOID data, DWORD n, LPDWORD written, LPOVERLAPPED overlapped);
};

// The calls in use: the system's unless a test installed others.
const FileCalls& GetFileCalls();
// Installs calls for a test (null restores the system's); the table must
// outlive its use. Not thread-safe: set before the engine runs.
void SetFileCallsForTesting(const FileCalls* calls);
