#include "slidecontrol/MovieFile.h"

#include <limits.h>

bool ReadMovieFile(const wchar_t* path, MKByteArray& bytes)
{
    bytes.RemoveAll();
    if (!path || !*path)
        return false;
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size = {};
    bool read = GetFileSizeEx(file, &size) && size.QuadPart < INT_MAX && bytes.SetSize(int(size.QuadPart));
    DWORD got = 0;
    if (read && size.QuadPart > 0)
        read = ReadFile(file, bytes.GetData(), DWORD(size.QuadPart), &got, nullptr) && got == DWORD(size.QuadPart);
    CloseHandle(file);
    if (!read)
        bytes.RemoveAll();
    return read;
}

bool WriteTempMovieFile(const MKByteArray& bytes, MKString& path)
{
    char folder[MAX_PATH];
    char name[MAX_PATH];
    DWORD n = GetTempPathA(MAX_PATH, folder);
    if (n == 0 || n >= MAX_PATH || !GetTempFileNameA(folder, "plv", 0, name))
        return false;
    HANDLE file = CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr);
    bool written = file != INVALID_HANDLE_VALUE;
    if (written) {
        DWORD put = 0;
        int count = bytes.GetCount();
        written = count == 0 || (WriteFile(file, bytes.GetData(), DWORD(count), &put, nullptr) && put == DWORD(count));
        written = CloseHandle(file) && written;
    }
    if (!written) {
        DeleteFileA(name);
        return false;
    }
    path = name;
    return true;
}
