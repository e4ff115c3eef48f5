#pragma once
#include "base/MKDynLib.h"

// The functions of version.dll, loaded at run time. A failed load is not
// tried again by the same object.
class MKVersionLibrary {
public:
    typedef BOOL(WINAPI* QueryValueFunction)(LPCVOID, LPCWSTR, LPVOID*, PUINT);
    typedef BOOL(WINAPI* GetInfoFunction)(LPCWSTR, DWORD, DWORD, LPVOID);
    typedef DWORD(WINAPI* GetInfoSizeFunction)(LPCWSTR, LPDWORD);
    typedef DWORD(WINAPI* LanguageNameFunction)(DWORD, LPWSTR, DWORD);

    MKVersionLibrary() = default;
    MKVersionLibrary(const MKVersionLibrary&) = delete;
    MKVersionLibrary& operator=(const MKVersionLibrary&) = delete;

    // True when the four functions are at hand.
    bool Load();
    void Unload();
    bool IsLoaded() const { return queryValue != nullptr; }

    QueryValueFunction queryValue = nullptr;
    GetInfoFunction getInfo = nullptr;
    GetInfoSizeFunction getInfoSize = nullptr;
    LanguageNameFunction languageName = nullptr;

private:
    MKDynLib m_library;
    bool m_mayLoad = true;
};
