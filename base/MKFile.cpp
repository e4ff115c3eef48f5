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

// A name beside path that nothing uses yet, for writing before replacing; the
// empty string when none is found (a folder that refuses every query, say).
MKString SiblingTempName(const MKString& path)
{
    static LONG counter = 0;
    for (int attempt = 0; attempt < kTempNameAttempts; ++attempt) {
        MKString name = MKString::FromFormat(L"%s.%lX~%lX.tmp", path.GetText(), GetCurrentProcessId(),
                                             InterlockedIncrement(&counter));
        if (MKPathAccess(name, 0) == MKPathNotFound)
            return name;
    }
    return MKString();
}

bool WriteAll(const MKString& path, const void* data, int n, bool toDisk)
{
    FILE* stream = MKOpenCFile(path, L"wb");
    if (!stream)
        return false;
    bool written = n == 0 || fwrite(data, 1, size_t(n), stream) == size_t(n);
    if (written && toDisk) {
        HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
        written = fflush(stream) == 0 && handle != INVALID_HANDLE_VALUE && FlushFileBuffers(handle);
    }
    // fclose flushes: a full disk may only show here.
    bool closed = fclose(stream) == 0;
    return written && closed;
}

bool ReplaceWith(const MKString& path, const void* data, int n, bool toDisk)
{
    if ((!data && n > 0) || n < 0 || path.IsEmpty())
        return false;
    MKString temp = SiblingTempName(path);
    if (temp.IsEmpty())
        return false;
    if (!WriteAll(temp, data, n, toDisk) ||
        !MoveFileExW(temp.GetText(), path.GetText(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(temp.GetText());
        return false;
    }
    return true;
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
    return ReplaceWith(path, data, n, false);
}

bool MKWriteFileDurably(const MKString& path, const void* data, int n)
{
    return ReplaceWith(path, data, n, true);
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
