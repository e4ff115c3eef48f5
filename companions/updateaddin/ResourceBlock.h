#pragma once
#include <windows.h>

// One resource of a module, found and locked at the first Load and kept
// until Release (the data lives as long as the module stays mapped).
class ResourceBlock {
public:
    // The type defaults to "BIN".
    explicit ResourceBlock(int identifier, const wchar_t* type = nullptr)
        : m_identifier(identifier), m_type(type ? type : L"BIN")
    {
    }
    ResourceBlock(const ResourceBlock&) = delete;
    ResourceBlock& operator=(const ResourceBlock&) = delete;

    // The data and its size in bytes, or null when any step fails.
    const void* Load(HMODULE module, DWORD* size = nullptr);
    void Release();

private:
    int m_identifier;
    const wchar_t* m_type;
    const void* m_data = nullptr;
    DWORD m_size = 0;
};
