#include "player/engine/MKFile.h"

#include <windows.h>

void* MKFileOpenRead(const char* path)
{
    if (!path || !*path)
        return nullptr;
    HANDLE handle = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    return handle == INVALID_HANDLE_VALUE ? nullptr : handle;
}

int MKFileClose(void* handle)
{
    return handle && CloseHandle(handle) ? 0 : -1;
}

int MKFileRead(void* buffer, int count, void* handle)
{
    DWORD read = 0;
    if (!handle || count <= 0 || !ReadFile(handle, buffer, static_cast<DWORD>(count), &read, nullptr))
        return 0;
    return static_cast<int>(read);
}
