#include "base/MKOpenRegKey.h"

#include "base/MKRegKey.h"

MKOpenRegKey::MKOpenRegKey(HKEY handle, const MKString& path, bool writable, bool borrowed)
    : m_handle(handle), m_path(path), m_flags(uint8_t((writable ? kWritable : 0) | (borrowed ? kBorrowed : 0)))
{
}

MKOpenRegKey::~MKOpenRegKey()
{
    if (!IsBorrowed() && m_handle)
        RegCloseKey(m_handle);
}

MKRegKey MKOpenRegKey::ClassesRoot()
{
    return MKRegKey::Create(HKEY_CLASSES_ROOT, MKString(L"HKEY_CLASSES_ROOT"), true, true);
}

MKRegKey MKOpenRegKey::CurrentUser()
{
    return MKRegKey::Create(HKEY_CURRENT_USER, MKString(L"HKEY_CURRENT_USER"), true, true);
}

MKRegKey MKOpenRegKey::LocalMachine()
{
    return MKRegKey::Create(HKEY_LOCAL_MACHINE, MKString(L"HKEY_LOCAL_MACHINE"), true, true);
}

MKRegKey MKOpenRegKey::Users()
{
    return MKRegKey::Create(HKEY_USERS, MKString(L"HKEY_USERS"), true, true);
}
