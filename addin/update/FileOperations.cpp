#include "addin/update/FileOperations.h"
#include "addin/update/FileCalls.h"
#include "base/MKFile.h"
#include "base/MKPath.h"
#include "base/MKSharedSecurity.h"
#include "base/MKTOArray.h"

DWORD CreateDirectoryWithSecurity(const MKString& path, const MKSharedSecurity* security)
{
    if (GetFileCalls().createDirectory(path.GetText(), security ? security->Inheritable() : nullptr))
        return 0;
    return GetLastError();
}

DWORD DeleteOrTruncateFile(const MKString& path, const MKSharedSecurity* security)
{
    if (!GetFileCalls().deleteFile(path.GetText()) && GetLastError() != ERROR_FILE_NOT_FOUND)
        return GetLastError();
    HANDLE file = CreateFileW(path.GetText(), GENERIC_WRITE, 0, security ? security->NonInheritable() : nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError();
    CloseHandle(file);
    return 0;
}

bool CanOpenExclusively(const MKString& path)
{
    HANDLE file = CreateFileW(path.GetText(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

int CreateFolderPath(const MKString& base, const MKString& relative, const MKSharedSecurity* security)
{
    MKString target = MKPathFull(MKPathCombine(base, relative));
    bool canonical = false;
    MKString root = MKPathCanonicalize(base, &canonical);
    if (!canonical)
        return CreateFolderPathBadPath;
    MKString parts = relative;
    parts.ReplaceChar(L'/', L'\\');
    // Checked before the existing-folder answer, so a path that climbs out
    // never passes, not even to a folder that exists.
    if (MKPathIsAbsolute(parts) || parts.FindChar(L':') >= 0)
        return CreateFolderPathBadPath;
    MKTOArray<MKString> components;
    parts.Split(L"\\", true, components);
    for (int i = 0; i < components.GetCount(); ++i) {
        if (components[i].EqualsText(L".."))
            return CreateFolderPathRefused;
    }
    if (!target.IsEmpty() && MKDirectoryExists(target))
        return 0;
    if (!MKDirectoryExists(root))
        return CreateFolderPathRefused;
    MKString path = root;
    for (int i = 0; i < components.GetCount(); ++i) {
        if (components[i].EqualsText(L"."))
            continue;
        path = MKPathCombine(path, components[i]);
        DWORD error = CreateDirectoryWithSecurity(path, security);
        if (error != 0 && error != ERROR_ALREADY_EXISTS)
            return int(error);
    }
    return 0;
}
