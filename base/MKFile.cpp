#include "base/MKFile.h"

#include "base/MKDateTime.h"
#include "base/MKPath.h"
#include "base/MKTArray.h"
#include "base/MKTOArray.h"

#include <errno.h>
#include <io.h>
#include <sys/stat.h>

namespace {

// Other errors (a sharing violation, say) may pass; access denied and the
// like never do, so the query gives up after a few tries.
const int kAttributeAttempts = 4;
const DWORD kAttributePauseMs = 10;
const int kTempNameAttempts = 100;

bool IsMissingError(DWORD error)
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_NOT_READY;
}

bool AttributesSay(const MKString& path, bool folder)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (MKGetFileAttributesRetry(path, data, true) != 0)
        return false;
    return ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) == folder;
}

// The length of an open stream; -1 when it cannot be told.
int64_t StreamLength(FILE* stream)
{
    if (_fseeki64(stream, 0, SEEK_END) != 0)
        return -1;
    int64_t length = _ftelli64(stream);
    if (_fseeki64(stream, 0, SEEK_SET) != 0)
        return -1;
    return length;
}

// "~" and eight hexadecimal digits, ".tmp": a replacement's name adds this
// to its folder, not to the target's name, so a target near MAX_PATH still
// gets one.
const int kSiblingNameLength = 13;

// Writes all n bytes to file, makes them durable and closes it. Without the
// flush a rename can reach the disk before the data, and a power loss then
// leaves the target empty.
bool WriteAndClose(HANDLE file, const void* data, int n)
{
    DWORD written = 0;
    bool ok = n == 0 || (WriteFile(file, data, DWORD(n), &written, nullptr) && written == DWORD(n));
    ok = ok && FlushFileBuffers(file);
    return CloseHandle(file) && ok;
}

// The folder part of path (with its separator) for a replacement's name:
// the folder as written, or its short form when a name would not fit
// otherwise; *fits false when neither fits.
MKString SiblingFolder(const MKString& path, bool* fits)
{
    MKString folder = path.Left(path.GetLength() - MKPathFileName(path).GetLength());
    *fits = folder.GetLength() + kSiblingNameLength < MAX_PATH;
    if (*fits)
        return folder;
    wchar_t shortFolder[MAX_PATH];
    DWORD length = GetShortPathNameW(folder.GetText(), shortFolder, MAX_PATH);
    *fits = length > 0 && length + kSiblingNameLength < MAX_PATH;
    return *fits ? MKString::MKStringFromChars(shortFolder, int(length)) : MKString();
}

// Creates a new file in folder to hold a replacement. CREATE_NEW takes the
// name in one step, so two writers never share one; a name left by a crashed
// writer is stepped over, a bounded number of times.
HANDLE CreateSiblingFile(const MKString& folder, MKString* name)
{
    static LONG counter = 0;
    for (int attempt = 0; attempt < kTempNameAttempts; ++attempt) {
        DWORD number = (GetCurrentProcessId() << 16) ^ DWORD(InterlockedIncrement(&counter));
        *name = MKString::FromFormat(L"%s~%08lX.tmp", folder.GetText(), number);
        HANDLE file = CreateFileW(name->GetText(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                  nullptr);
        if (file != INVALID_HANDLE_VALUE)
            return file;
        DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            break;
    }
    return INVALID_HANDLE_VALUE;
}

// Writes path itself: only where no replacement's name fits beside it. A
// failed write removes the file rather than leave part of the data.
bool WriteInPlace(const MKString& path, const void* data, int n)
{
    HANDLE file = CreateFileW(path.GetText(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    if (WriteAndClose(file, data, n))
        return true;
    DeleteFileW(path.GetText());
    return false;
}

}  // namespace

DWORD MKGetFileAttributes(const MKString& path, WIN32_FILE_ATTRIBUTE_DATA& data)
{
    ZeroMemory(&data, sizeof(data));
    UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS);
    BOOL ok = GetFileAttributesExW(path.GetText(), GetFileExInfoStandard, &data);
    DWORD error = ok ? 0 : GetLastError();
    SetErrorMode(oldMode);
    return error;
}

DWORD MKGetFileAttributesRetry(const MKString& path, WIN32_FILE_ATTRIBUTE_DATA& data, bool reportMissing)
{
    DWORD error = 0;
    for (int attempt = 0; attempt < kAttributeAttempts; ++attempt) {
        if (attempt > 0)
            Sleep(kAttributePauseMs);
        error = MKGetFileAttributes(path, data);
        if (error == 0)
            return 0;
        if (IsMissingError(error)) {
            if (reportMissing)
                return error;
            data.dwFileAttributes = INVALID_FILE_ATTRIBUTES;
            return 0;
        }
    }
    return error;
}

bool MKIsFileAt(const MKString& path)
{
    return AttributesSay(path, false);
}

bool MKIsDirectoryAt(const MKString& path)
{
    return AttributesSay(path, true);
}

bool MKFileExists(const MKString& path)
{
    bool canonical = false;
    MKString full = path.IsEmpty() ? path : MKPathCanonicalize(path, &canonical);
    return canonical && MKIsFileAt(full);
}

bool MKDirectoryExists(const MKString& path)
{
    bool canonical = false;
    MKString full = path.IsEmpty() ? path : MKPathCanonicalize(path, &canonical);
    return canonical && MKIsDirectoryAt(full);
}

MKPathAccessResult MKPathAccess(const MKString& path, int mode)
{
    if (_waccess(path.GetText(), mode) == 0)
        return MKPathAccessible;
    return errno == ENOENT ? MKPathNotFound : MKPathAccessDenied;
}

FILE* MKOpenCFile(const MKString& path, const wchar_t* mode)
{
    return path.IsEmpty() ? nullptr : _wfopen(path.GetText(), mode);
}

void MKCloseCFile(FILE* stream)
{
    if (stream)
        fclose(stream);
}

bool MKFileRemove(const MKString& path)
{
    return _wremove(path.GetText()) == 0;
}

int MKFileSize(const MKString& path)
{
    FILE* stream = MKOpenCFile(path, L"rb");
    if (!stream)
        return -1;
    int64_t length = StreamLength(stream);
    fclose(stream);
    return (length < 0 || length > INT32_MAX) ? -1 : int(length);
}

bool MKReadFileInto(const MKString& path, void* buffer, int maximum)
{
    FILE* stream = MKOpenCFile(path, L"rb");
    if (!stream)
        return false;
    int64_t length = StreamLength(stream);
    bool ok = length >= 0;
    if (ok && length > 0 && maximum > 0) {
        size_t wanted = length < maximum ? size_t(length) : size_t(maximum);
        ok = fread(buffer, 1, wanted, stream) == wanted;
    }
    fclose(stream);
    return ok;
}

bool MKReadFile(const MKString& path, MKByteArray& bytes)
{
    bytes.RemoveAll();
    FILE* stream = MKOpenCFile(path, L"rb");
    if (!stream)
        return false;
    int64_t length = StreamLength(stream);
    bool ok = length >= 0 && length <= INT32_MAX && bytes.SetSize(int(length));
    if (ok && length > 0)
        ok = fread(bytes.GetData(), 1, size_t(length), stream) == size_t(length);
    fclose(stream);
    if (!ok)
        bytes.RemoveAll();
    return ok;
}

bool MKWriteFile(const MKString& path, const void* data, int n)
{
    if ((!data && n > 0) || n < 0 || path.IsEmpty())
        return false;
    bool fits = false;
    MKString folder = SiblingFolder(path, &fits);
    if (!fits)
        return WriteInPlace(path, data, n);
    MKString temp;
    HANDLE file = CreateSiblingFile(folder, &temp);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    // The old file stays whole until the rename, which replaces it in one step.
    if (!WriteAndClose(file, data, n) ||
        !MoveFileExW(temp.GetText(), path.GetText(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(temp.GetText());
        return false;
    }
    return true;
}

int64_t MKFileModifiedTime(const MKString& path)
{
    if (path.IsEmpty())
        return 0;
    MKString bare = path;
    if (MKIsPathSeparator(bare[bare.GetLength() - 1]))
        bare = bare.Left(bare.GetLength() - 1);
    struct _stat64 status;
    if (_wstat64(bare.GetText(), &status) != 0)
        return 0;
    return int64_t(status.st_mtime);
}

bool MKFileSetModifiedTime(const MKString& path, const MKDateTime* time)
{
    HANDLE file = CreateFileW(path.GetText(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    FILETIME lastWrite;
    if (time)
        lastWrite = time->ToFileTime();
    BOOL ok = SetFileTime(file, nullptr, nullptr, time ? &lastWrite : nullptr);
    CloseHandle(file);
    return ok != FALSE;
}

bool MKListDirectory(const MKString& folder, MKTOArray<MKString>& names, bool includeFolders)
{
    MKString pattern = folder;
    MKPathAddTrailingSeparator(pattern);
    names.RemoveAll();
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW((pattern + L"*.*").GetText(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return false;
    do {
        if (includeFolders || !(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.Add(MKString(entry.cFileName));
    } while (FindNextFileW(find, &entry));
    FindClose(find);
    return true;
}

int64_t MKDiskFreeSpace(const MKString& path)
{
    MKString root = MKPathRoot(path);
    if (root.IsEmpty())
        return -1;
    if (root.GetLength() >= 2 && MKIsPathSeparator(root[0]) && MKIsPathSeparator(root[1]) &&
        !MKIsPathSeparator(root[root.GetLength() - 1]))
        root = MKString::ConcatChar(root, L'\\');
    ULARGE_INTEGER available;
    if (!GetDiskFreeSpaceExW(root.GetText(), &available, nullptr, nullptr))
        return -1;
    return int64_t(available.QuadPart);
}
