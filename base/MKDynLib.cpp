#include "base/MKDynLib.h"

#include <string.h>

bool MKDynLib::Load(const wchar_t* fileName)
{
    Free();
    if (!fileName)
        return false;
    module_ = LoadLibraryW(fileName);
    return module_ != nullptr;
}

FARPROC MKDynLib::GetProc(const char* name) const
{
    if (!module_ || !name || !*name)
        return nullptr;
    return GetProcAddress(module_, name);
}

FARPROC MKDynLib::GetProcW(const char* name) const
{
    constexpr size_t kLongestName = 295;
    size_t length = name ? strlen(name) : 0;
    if (length == 0 || length > kLongestName)
        return nullptr;
    char wide[kLongestName + 2];
    memcpy(wide, name, length);
    wide[length] = 'W';
    wide[length + 1] = 0;
    return GetProc(wide);
}

bool MKDynLib::Free()
{
    if (!module_)
        return true;
    BOOL freed = FreeLibrary(module_);
    module_ = nullptr;
    return freed != FALSE;
}
