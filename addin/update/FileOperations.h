#pragma once
#include "base/MKString.h"
#include <windows.h>

class MKSharedSecurity;

// Folder and file operations of the update engine, with the product's shared
// security attributes where a security record is given (null: the system's
// defaults).

// 0 or the system error of CreateDirectoryW.
DWORD CreateDirectoryWithSecurity(const MKString& path, const MKSharedSecurity* security);
// Deletes the file (a missing one is fine), then creates it empty with the
// shared attributes; 0 or the system error. Writers then reopen it.
DWORD DeleteOrTruncateFile(const MKString& path, const MKSharedSecurity* security);
// The file exists and can be opened for writing with no sharing.
bool CanOpenExclusively(const MKString& path);

enum { CreateFolderPathBadPath = -1, CreateFolderPathRefused = 3 };
// Creates base\relative folder by folder: 0 when it exists at the end;
// CreateFolderPathBadPath for a base without canonical form or an absolute
// relative path; CreateFolderPathRefused when base is no folder or a component
// is ".."; otherwise the system error of the folder that failed.
int CreateFolderPath(const MKString& base, const MKString& relative, const MKSharedSecurity* security);
