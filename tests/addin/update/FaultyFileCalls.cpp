#include "FaultyFileCalls.h"

namespace {

FaultyFileCalls::Kind g_kind;
int g_failAt = 0;
int g_counts[FaultyFileCalls::KindCount];
bool g_failed = false;

bool FailNow(FaultyFileCalls::Kind kind)
{
    if (++g_counts[kind] != g_failAt || kind != g_kind)
        return false;
    g_failed = true;
    SetLastError(ERROR_ACCESS_DENIED);
    return true;
}

BOOL WINAPI Move(LPCWSTR from, LPCWSTR to, DWORD flags)
{
    return !FailNow(FaultyFileCalls::Move) && MoveFileExW(from, to, flags);
}

BOOL WINAPI Delete(LPCWSTR path)
{
    return !FailNow(FaultyFileCalls::Delete) && DeleteFileW(path);
}

BOOL WINAPI CreateFolder(LPCWSTR path, LPSECURITY_ATTRIBUTES security)
{
    return !FailNow(FaultyFileCalls::CreateFolder) && CreateDirectoryW(path, security);
}

BOOL WINAPI Write(HANDLE file, LPCVOID data, DWORD n, LPDWORD written, LPOVERLAPPED overlapped)
{
    // A disk that fills up: half the bytes go out and the call succeeds.
    if (FailNow(FaultyFileCalls::Write))
        return WriteFile(file, data, n / 2, written, overlapped);
    return WriteFile(file, data, n, written, overlapped);
}

const FileCalls kFaulty = {Move, Delete, CreateFolder, Write};

}  // namespace

FaultyFileCalls::FaultyFileCalls(Kind kind, int failAt)
{
    g_kind = kind;
    g_failAt = failAt;
    g_failed = false;
    for (int& count : g_counts)
        count = 0;
    SetFileCallsForTesting(&kFaulty);
}

FaultyFileCalls::~FaultyFileCalls()
{
    SetFileCallsForTesting(nullptr);
}

int FaultyFileCalls::Count(Kind kind) const
{
    return g_counts[kind];
}

bool FaultyFileCalls::Failed() const
{
    return g_failed;
}
