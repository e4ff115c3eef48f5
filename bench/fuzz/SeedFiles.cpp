#include <windows.h>

#include <cstdio>

#include "FuzzTarget.h"

void AddSeedFiles(const std::wstring& folder, const wchar_t* suffix, const char* kind, std::vector<FuzzInput>& seeds)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*" + suffix).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        FILE* file = _wfopen((folder + L"\\" + found.cFileName).c_str(), L"rb");
        if (!file)
            continue;
        FuzzInput input;
        input.kind = kind;
        uint8_t buffer[65536];
        size_t got;
        while ((got = fread(buffer, 1, sizeof buffer, file)) > 0)
            input.bytes.insert(input.bytes.end(), buffer, buffer + got);
        fclose(file);
        seeds.push_back(std::move(input));
    } while (FindNextFileW(search, &found));
    FindClose(search);
}
