#include "base/MKSpecialFolders.h"

#include "base/MKDynLib.h"
#include "base/MKFile.h"

#include <windows.h>

namespace {

const int kFolderBufferSize = 300;
// Names are only probed, never taken: a folder that answers neither "exists"
// nor "not found" (a bad name in TMP, a refused share) must not hold the
// caller, which may be the user-interface thread, in an endless loop.
const int kTempNameAttempts = 100;

MKString WithSeparator(const wchar_t* folder)
{
    MKString result(folder);
    if (!result.IsEmpty() && result[result.GetLength() - 1] != L'\\')
        result = MKString::ConcatChar(result, L'\\');
    return result;
}

typedef HRESULT(WINAPI* GetFolderPathFunction)(HWND, int, HANDLE, DWORD, LPWSTR);

}  // namespace

MKString MKGetTempPath()
{
    wchar_t buffer[kFolderBufferSize];
    DWORD length = GetTempPathW(kFolderBufferSize, buffer);
    if (length == 0 || length >= DWORD(kFolderBufferSize))
        return MKString();
    return MKString::MKStringFromChars(buffer, int(length));
}

MKString MKTempFileName()
{
    static const DWORD stamp = GetCurrentProcessId() ^ 0x12DF6C15;
    static LONG counter = 0;
    MKString folder = MKGetTempPath();
    if (folder.IsEmpty())
        return MKString();
    for (int attempt = 0; attempt < kTempNameAttempts; ++attempt) {
        MKString name = MKString::FromFormat(L"%s%08lX%lX.tmp", folder.GetText(), stamp,
                                             InterlockedIncrement(&counter));
        if (MKPathAccess(name, 0) == MKPathNotFound)
            return name;
    }
    return MKString();
}

MKString MKGetSystemDirectory()
{
    wchar_t buffer[kFolderBufferSize];
    UINT length = GetSystemDirectoryW(buffer, kFolderBufferSize);
    if (length == 0 || length >= UINT(kFolderBufferSize))
        return MKString((GetVersion() & 0x80000000) ? L"C:\\Windows\\system\\" : L"C:\\Windows\\system32\\");
    return WithSeparator(buffer);
}

MKString MKGetSpecialFolder(int csidl)
{
    // Loaded on the first call and kept for the life of the process.
    static MKDynLib library;
    static GetFolderPathFunction function =
        MKLoadProc<GetFolderPathFunction>(library, L"shfolder.dll", "SHGetFolderPathW");
    wchar_t buffer[MAX_PATH];
    if (!function || FAILED(function(nullptr, csidl, nullptr, 0, buffer)))
        return MKString();
    return WithSeparator(buffer);
}
