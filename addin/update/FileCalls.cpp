#include "addin/update/FileCalls.h"

namespace {

const FileCalls kSystemCalls = {MoveFileExW, DeleteFileW, CreateDirectoryW, WriteFile};
const FileCalls* g_calls = &kSystemCalls;

} // namespace

const FileCalls& GetFileCalls()
{
    return *g_calls;
}

void SetFileCallsForTesting(const FileCalls* calls)
{
    g_calls = calls ? calls : &kSystemCalls;
}
