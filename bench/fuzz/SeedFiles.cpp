#include <windows.h>

#include <cstdio>

#include "FuzzTarget.h"

bool ReadInputFile(const std::wstring& path, std::vector<uint8_t>& bytes)
{
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (!file)
        return false;
    uint8_t buffer[65536];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + got);
    fclose(file);
    return true;
}

void AddSeedFilesMatching(const std::wstring& folder, const wchar_t* pattern, const char* kind,
                          std::vector<FuzzInput>& seeds)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\" + pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        FuzzInput input;
        input.kind = kind;
        if (ReadInputFile(folder + L"\\" + found.cFileName, input.bytes))
            seeds.push_back(std::move(input));
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

void AddSeedFiles(const std::wstring& folder, const wchar_t* suffix, const char* kind, std::vector<FuzzInput>& seeds)
{
    AddSeedFilesMatching(folder, (L"*" + std::wstring(suffix)).c_str(), kind, seeds);
}
