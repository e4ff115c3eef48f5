#include "FileCallGuard.h"

#include <windows.h>

#include <cstdio>
#include <cwctype>

#include "FuzzScratch.h"
#include "addin/update/FileCalls.h"
#include "fixtures/ImportPatch.h"

namespace {

volatile uint64_t g_refused = 0;
std::wstring g_findings;

using CreateFileCall = HANDLE(WINAPI*)(LPCWSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE);
using PathCall = BOOL(WINAPI*)(LPCWSTR);
using MoveFileExCall = BOOL(WINAPI*)(LPCWSTR, LPCWSTR, DWORD);
using MoveFileCall = BOOL(WINAPI*)(LPCWSTR, LPCWSTR);
using CopyFileCall = BOOL(WINAPI*)(LPCWSTR, LPCWSTR, BOOL);
using ReplaceFileCall = BOOL(WINAPI*)(LPCWSTR, LPCWSTR, LPCWSTR, DWORD, LPVOID, LPVOID);
using CreateDirectoryCall = BOOL(WINAPI*)(LPCWSTR, LPSECURITY_ATTRIBUTES);
using SetAttributesCall = BOOL(WINAPI*)(LPCWSTR, DWORD);

CreateFileCall g_createFile;
PathCall g_deleteFile;
PathCall g_removeDirectory;
MoveFileExCall g_moveFileEx;
MoveFileCall g_moveFile;
CopyFileCall g_copyFile;
ReplaceFileCall g_replaceFile;
CreateDirectoryCall g_createDirectory;
SetAttributesCall g_setAttributes;

// Whether the full form of path is the folder or lies inside it. Device
// names and paths the system cannot make full are outside.
bool Within(const wchar_t* full, size_t length, const std::wstring& folder)
{
    return !folder.empty() && length >= folder.size() && _wcsnicmp(full, folder.c_str(), folder.size()) == 0 &&
        (full[folder.size()] == L'\\' || full[folder.size()] == 0) && wcsncmp(full, L"\\\\.\\", 4) != 0;
}

bool Inside(LPCWSTR path)
{
    if (!path)
        return false;
    wchar_t full[MAX_PATH * 2];
    const DWORD length = GetFullPathNameW(path, MAX_PATH * 2, full, nullptr);
    if (length == 0 || length >= MAX_PATH * 2)
        return false;
    return Within(full, length, FuzzScratchFolder()) || Within(full, length, g_findings);
}

bool Allowed(const char* call, LPCWSTR path)
{
    if (Inside(path))
        return true;
    g_refused = g_refused + 1;
    printf("REFUSED: %s of %ls outside the scratch folder\n", call, path ? path : L"(null)");
    fflush(stdout);
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
}

HANDLE WINAPI GuardedCreateFile(LPCWSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                                DWORD disposition, DWORD flags, HANDLE model)
{
    const bool changes = (access & (GENERIC_WRITE | GENERIC_ALL | FILE_WRITE_DATA | FILE_APPEND_DATA | DELETE)) ||
        disposition != OPEN_EXISTING || (flags & FILE_FLAG_DELETE_ON_CLOSE);
    if (changes && !Allowed("CreateFileW", path))
        return INVALID_HANDLE_VALUE;
    return g_createFile(path, access, share, security, disposition, flags, model);
}

BOOL WINAPI GuardedDeleteFile(LPCWSTR path)
{
    return Allowed("DeleteFileW", path) && g_deleteFile(path);
}

BOOL WINAPI GuardedRemoveDirectory(LPCWSTR path)
{
    return Allowed("RemoveDirectoryW", path) && g_removeDirectory(path);
}

BOOL WINAPI GuardedMoveFileEx(LPCWSTR from, LPCWSTR to, DWORD flags)
{
    return Allowed("MoveFileExW", from) && (!to || Allowed("MoveFileExW", to)) && g_moveFileEx(from, to, flags);
}

BOOL WINAPI GuardedMoveFile(LPCWSTR from, LPCWSTR to)
{
    return Allowed("MoveFileW", from) && Allowed("MoveFileW", to) && g_moveFile(from, to);
}

BOOL WINAPI GuardedCopyFile(LPCWSTR from, LPCWSTR to, BOOL failIfExists)
{
    return Allowed("CopyFileW", to) && g_copyFile(from, to, failIfExists);
}

BOOL WINAPI GuardedReplaceFile(LPCWSTR replaced, LPCWSTR replacement, LPCWSTR backup, DWORD flags, LPVOID exclude,
                               LPVOID reserved)
{
    return Allowed("ReplaceFileW", replaced) && Allowed("ReplaceFileW", replacement) &&
        (!backup || Allowed("ReplaceFileW", backup)) &&
        g_replaceFile(replaced, replacement, backup, flags, exclude, reserved);
}

BOOL WINAPI GuardedCreateDirectory(LPCWSTR path, LPSECURITY_ATTRIBUTES security)
{
    return Allowed("CreateDirectoryW", path) && g_createDirectory(path, security);
}

BOOL WINAPI GuardedSetAttributes(LPCWSTR path, DWORD attributes)
{
    return Allowed("SetFileAttributesW", path) && g_setAttributes(path, attributes);
}

const ImportReplacement kGuarded[] = {
    {"CreateFileW", reinterpret_cast<void**>(&g_createFile), reinterpret_cast<void*>(&GuardedCreateFile)},
    {"DeleteFileW", reinterpret_cast<void**>(&g_deleteFile), reinterpret_cast<void*>(&GuardedDeleteFile)},
    {"RemoveDirectoryW", reinterpret_cast<void**>(&g_removeDirectory),
     reinterpret_cast<void*>(&GuardedRemoveDirectory)},
    {"MoveFileExW", reinterpret_cast<void**>(&g_moveFileEx), reinterpret_cast<void*>(&GuardedMoveFileEx)},
    {"MoveFileW", reinterpret_cast<void**>(&g_moveFile), reinterpret_cast<void*>(&GuardedMoveFile)},
    {"CopyFileW", reinterpret_cast<void**>(&g_copyFile), reinterpret_cast<void*>(&GuardedCopyFile)},
    {"ReplaceFileW", reinterpret_cast<void**>(&g_replaceFile), reinterpret_cast<void*>(&GuardedReplaceFile)},
    {"CreateDirectoryW", reinterpret_cast<void**>(&g_createDirectory),
     reinterpret_cast<void*>(&GuardedCreateDirectory)},
    {"SetFileAttributesW", reinterpret_cast<void**>(&g_setAttributes), reinterpret_cast<void*>(&GuardedSetAttributes)},
};

// The update engine writes files through its own table; the guarded forms
// take its place.
const FileCalls kGuardedFileCalls = {GuardedMoveFileEx, GuardedDeleteFile, GuardedCreateDirectory, WriteFile};

}  // namespace

void GuardFileCalls(const std::wstring& findings)
{
    g_findings = findings;
    FuzzScratchFolder();
    ReplaceImports(kGuarded);
    SetFileCallsForTesting(&kGuardedFileCalls);
}

uint64_t RefusedFileCalls()
{
    return g_refused;
}
