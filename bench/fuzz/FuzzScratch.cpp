#include "FuzzScratch.h"

#include <windows.h>

#include <cstdio>

const std::wstring& FuzzScratchFolder()
{
    static const std::wstring folder = [] {
        wchar_t temp[MAX_PATH];
        DWORD length = GetTempPathW(MAX_PATH, temp);
        std::wstring path(temp, length);
        if (!path.empty() && path.back() != L'\\')
            path += L'\\';
        path += L"vistello-fuzz-" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(path.c_str(), nullptr);
        return path;
    }();
    return folder;
}

std::wstring FuzzScratchFile(const wchar_t* name)
{
    return FuzzScratchFolder() + L"\\" + name;
}

bool WriteScratchFile(const std::wstring& path, const std::vector<uint8_t>& bytes)
{
    FILE* file = _wfopen(path.c_str(), L"wb");
    if (!file)
        return false;
    const bool written = bytes.empty() || fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return fclose(file) == 0 && written;
}

namespace {

void EmptyFolder(const std::wstring& folder)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..")
            continue;
        const std::wstring path = folder + L"\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            EmptyFolder(path);
            RemoveDirectoryW(path.c_str());
        } else {
            DeleteFileW(path.c_str());
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

}  // namespace

void EmptyScratchFolder()
{
    EmptyFolder(FuzzScratchFolder());
}
