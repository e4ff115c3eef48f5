#include "base/MKDynLib.h"

#include <string.h>

bool MKDynLib::Load(const wchar_t* fileName)
{
    Free();
    if (!fileName)
        return false;
    m_module = LoadLibraryW(fileName);
    return m_module != nullptr;
}

FARPROC MKDynLib::GetProc(const char* name) const
{
    if (!m_module || !name || !*name)
        return nullptr;
    return GetProcAddress(m_module, name);
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
    if (!m_module)
        return true;
    BOOL freed = FreeLibrary(m_module);
    m_module = nullptr;
    return freed != FALSE;
}
