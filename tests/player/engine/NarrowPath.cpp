#include "NarrowPath.h"

#include <windows.h>

std::string NarrowPath(const std::wstring& path)
{
    const int size = WideCharToMultiByte(CP_ACP, 0, path.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string narrow(size > 0 ? size - 1 : 0, '\0');
    if (size > 1)
        WideCharToMultiByte(CP_ACP, 0, path.c_str(), -1, narrow.data(), size, nullptr, nullptr);
    return narrow;
}
