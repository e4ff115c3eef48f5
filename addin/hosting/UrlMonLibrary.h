#pragma once
#include <urlmon.h>

// urlmon.dll bound at run time with the entry points the bind host and its
// monikers use. Process-wide, on the user-interface thread only (not locked).
// The first failed load is remembered: later calls answer null at once.
struct UrlMonEntryPoints {
    HRESULT(WINAPI* createAsyncBindCtx)(DWORD, IBindStatusCallback*, IEnumFORMATETC*, IBindCtx**);
    HRESULT(WINAPI* createUrlMoniker)(IMoniker*, LPCWSTR, IMoniker**);
    HRESULT(WINAPI* registerBindStatusCallback)(IBindCtx*, IBindStatusCallback*, IBindStatusCallback**, DWORD);
    // Takes our callback proxy out of a bind context again once urlmon has
    // started its binding.
    HRESULT(WINAPI* revokeBindStatusCallback)(IBindCtx*, IBindStatusCallback*);
};

class UrlMonLibrary {
public:
    // The entry points, or null when urlmon or one of them is missing.
    static const UrlMonEntryPoints* Get();
    // Forgets the entry points and frees the library (hosting module end).
    static void Release();
};
