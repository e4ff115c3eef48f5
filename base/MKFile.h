#pragma once
#include "base/MKString.h"

#include <stdint.h>
#include <stdio.h>
#include <windows.h>

class MKDateTime;

// Files and folders by path. Attribute queries never show the system's
// critical-error boxes (no disk in a drive). Nothing throws: failures answer
// false, -1, 0 or an empty result.

// Zero-fills data, then GetFileAttributesExW; 0 or the GetLastError code.
DWORD MKGetFileAttributes(const MKString& path, WIN32_FILE_ATTRIBUTE_DATA& data);
// MKGetFileAttributes, retried a few times with short pauses while the error
// is other than "file not found" (2), "path not found" (3) or "device not
// ready" (21). Those three come back as the error with reportMissing;
// without it they give 0 with the attributes set to INVALID_FILE_ATTRIBUTES.
// Returns 0 or the last error.
DWORD MKGetFileAttributesRetry(const MKString& path, WIN32_FILE_ATTRIBUTE_DATA& data, bool reportMissing);
// Something that is not a folder exists at the path (taken as it is).
bool MKIsFileAt(const MKString& path);
bool MKIsDirectoryAt(const MKString& path);
// The same for the canonical form of the path; false when it has none.
bool MKFileExists(const MKString& path);
bool MKDirectoryExists(const MKString& path);

enum MKPathAccessResult { MKPathAccessible = 0, MKPathAccessDenied = 1, MKPathNotFound = 2 };
// _waccess with mode (0 existence, 2 write, 4 read, 6 both).
MKPathAccessResult MKPathAccess(const MKString& path, int mode);

// _wfopen; null for an empty path. The caller closes with MKCloseCFile.
FILE* MKOpenCFile(const MKString& path, const wchar_t* mode);
void MKCloseCFile(FILE* stream);
bool MKFileRemove(const MKString& path);

// Size in bytes; -1 when the file cannot be opened or is 2 GB or larger.
int MKFileSize(const MKString& path);
// Reads min(file length, maximum) bytes from the start into buffer. True also
// for an empty file.
bool MKReadFileInto(const MKString& path, void* buffer, int maximum);
// The whole file into bytes (sized exactly). False, with bytes empty, when it
// cannot be read whole or does not fit an array (2 GB and more).
bool MKReadFile(const MKString& path, MKByteArray& bytes);
// Replaces the file with n bytes of data: they are written to a temporary
// file in the same folder, which then takes the file's place, so a failed
// write leaves the old file as it was and no partial file behind. False for
// null data with n > 0, or when any step (writing, closing, replacing) fails.
bool MKWriteFile(const MKString& path, const void* data, int n);
// MKWriteFile whose temporary file reaches the disk before it takes the file's
// place: after a power cut the file is the old one or the new one, never an
// empty or partly written file under the new name.
bool MKWriteFileDurably(const MKString& path, const void* data, int n);

// Last write in seconds since 1970 (UTC); 0 when unknown.
int64_t MKFileModifiedTime(const MKString& path);
// Sets the last-write time (a null time changes nothing); true when the file
// could be opened for writing and the time was set.
bool MKFileSetModifiedTime(const MKString& path, const MKDateTime* time);

// Empties names, then adds the name of every entry of the folder that is not
// a folder, or of every entry ("." and ".." included) with includeFolders.
// False when the folder cannot be listed.
bool MKListDirectory(const MKString& folder, MKTOArray<MKString>& names, bool includeFolders);
// Bytes available to the caller on the volume of the path; -1 on failure.
int64_t MKDiskFreeSpace(const MKString& path);
