#include "setup/UnpackedInstaller.h"

#include "base/MKPath.h"
#include "setup/SetupPayload.h"

MKString InstallerFileName(const MKString& setupPath)
{
    return MKPathStem(setupPath) + L".tmp";
}

UnpackedInstaller::~UnpackedInstaller()
{
    if (guard_ != INVALID_HANDLE_VALUE) {
        CloseHandle(guard_);
        DeleteFileW(path_.GetText());
    }
}

int UnpackedInstaller::Extract(HMODULE module, WORD identifier, const MKString& setupPath, const MKString& folder)
{
    path_ = folder + L"\\" + InstallerFileName(setupPath);
    int result = WriteProgram(module, identifier);
    if (result != 0)
        return result;
    // Writers cannot share the file with the system's own open when the
    // installer starts, so the written file is opened afresh for reading; the
    // folder admits only this user between the two opens.
    guard_ = CreateFileW(path_.GetText(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
    if (guard_ != INVALID_HANDLE_VALUE)
        return 0;
    DeleteFileW(path_.GetText());
    return kInstallerFileNotCreated;
}

int UnpackedInstaller::WriteProgram(HMODULE module, WORD identifier)
{
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(identifier), L"BIN");
    if (!found)
        return kPayloadNotFound;
    HGLOBAL loaded = LoadResource(module, found);
    if (!loaded)
        return kPayloadNotLoaded;
    const void* data = LockResource(loaded);
    if (!data) {
        FreeResource(loaded);
        return kPayloadNotLocked;
    }
    DWORD size = SizeofResource(module, found);
    HANDLE file = CreateFileW(path_.GetText(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return kInstallerFileNotCreated;
    int result = UnpackPayload(data, size, file);
    CloseHandle(file);
    if (result != 0)
        DeleteFileW(path_.GetText());
    return result;
}
