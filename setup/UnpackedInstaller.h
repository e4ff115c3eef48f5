#pragma once
#include "base/MKString.h"

#include <windows.h>

enum UnpackedInstallerError {
    kPayloadNotFound = 201,
    kPayloadNotLoaded = 202,
    kPayloadNotLocked = 203,
    kInstallerFileNotCreated = 205,
};

// The installer program unpacked from a resource of the setup program into a
// folder, named after the setup program with the extension ".tmp". From the
// end of unpacking until this object is destroyed the file stays open for
// reading without sharing writes or deletion: no process can change, rename
// or replace it while the installer is being started and while it runs. The
// destructor closes it and deletes the file (the folder is the caller's).
class UnpackedInstaller {
public:
    UnpackedInstaller() = default;
    ~UnpackedInstaller();
    UnpackedInstaller(const UnpackedInstaller&) = delete;
    UnpackedInstaller& operator=(const UnpackedInstaller&) = delete;

    // Unpacks resource "BIN" identifier of the module; 0, one of the codes
    // above or an UnpackPayload code. Nothing is left in the folder on failure.
    int Extract(HMODULE module, WORD identifier, const MKString& setupPath, const MKString& folder);

    const MKString& Path() const { return path_; }

private:
    int WriteProgram(HMODULE module, WORD identifier);

    MKString path_;
    HANDLE guard_ = INVALID_HANDLE_VALUE;
};

// The installer's file name for a setup path: the name after the last '\',
// '/' or ':', its extension from the last '.' replaced by ".tmp".
MKString InstallerFileName(const MKString& setupPath);
