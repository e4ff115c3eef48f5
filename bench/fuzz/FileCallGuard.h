#pragma once
#include <cstdint>
#include <string>

// Confines the program's file-changing calls to the scratch folder while the
// readers are fuzzed: CreateFileW for writing, DeleteFileW, MoveFile(Ex)W,
// CopyFileW, ReplaceFileW, CreateDirectoryW, RemoveDirectoryW and
// SetFileAttributesW, whether called through the import table or through the
// update engine's table of file calls. A call naming a path outside the folder
// (and the runner's own findings folder) fails with ERROR_ACCESS_DENIED, is
// printed and counted. Install once, before the first input.
void GuardFileCalls(const std::wstring& findings);
// Calls refused since then.
uint64_t RefusedFileCalls();
