#include "companions/updateaddin/ResourceBlock.h"

const void* ResourceBlock::Load(HMODULE module, DWORD* size)
{
    if (!m_data) {
        HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(m_identifier), m_type);
        HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
        const void* data = loaded ? LockResource(loaded) : nullptr;
        DWORD bytes = found ? SizeofResource(module, found) : 0;
        if (!data || bytes == 0)
            return nullptr;
        m_data = data;
        m_size = bytes;
    }
    if (size)
        *size = m_size;
    return m_data;
}

void ResourceBlock::Release()
{
    m_data = nullptr;
    m_size = 0;
}
