#pragma once
#include <windows.h>

// Owner of one library loaded at run time; the destructor frees it.
class MKDynLib {
public:
    MKDynLib() = default;
    ~MKDynLib() { Free(); }
    MKDynLib(const MKDynLib&) = delete;
    MKDynLib& operator=(const MKDynLib&) = delete;

    // Frees a library already held, then loads the file; false for a null name
    // or when loading fails.
    bool Load(const wchar_t* fileName);
    // The export, or null when nothing is loaded, the name is empty or missing.
    FARPROC GetProc(const char* name) const;
    // The wide-character variant: the name with 'W' appended (1 to 295
    // characters, null otherwise).
    FARPROC GetProcW(const char* name) const;
    // FreeLibrary's answer; true when nothing was held.
    bool Free();

    HMODULE Handle() const { return m_module; }
    bool IsLoaded() const { return m_module != nullptr; }

private:
    HMODULE m_module = nullptr;
};

// Stores an export in a function pointer of its own type; answers whether
// there was one.
template <typename F>
bool MKCastProc(FARPROC proc, F& function)
{
    function = reinterpret_cast<F>(reinterpret_cast<void*>(proc));
    return function != nullptr;
}

// Loads the file into library and answers the export as F; null when either is
// missing. For lookups kept for the life of the process, library is a static
// of the caller.
template <typename F>
F MKLoadProc(MKDynLib& library, const wchar_t* fileName, const char* name)
{
    F function = nullptr;
    if (library.Load(fileName))
        MKCastProc(library.GetProc(name), function);
    return function;
}
