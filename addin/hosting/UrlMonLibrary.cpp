#include "addin/hosting/UrlMonLibrary.h"

#include "base/MKDynLib.h"

namespace {

MKDynLib s_library;
UrlMonEntryPoints s_entries;
bool s_loaded = false;
bool s_failed = false;

}  // namespace

const UrlMonEntryPoints* UrlMonLibrary::Get()
{
    if (s_failed)
        return nullptr;
    if (s_loaded)
        return &s_entries;
    UrlMonEntryPoints entries = {};
    const bool complete = s_library.Load(L"urlmon.dll") &&
                          MKCastProc(s_library.GetProc("CreateAsyncBindCtx"), entries.createAsyncBindCtx) &&
                          MKCastProc(s_library.GetProc("CreateURLMoniker"), entries.createUrlMoniker) &&
                          MKCastProc(s_library.GetProc("RegisterBindStatusCallback"),
                                     entries.registerBindStatusCallback) &&
                          MKCastProc(s_library.GetProc("RevokeBindStatusCallback"), entries.revokeBindStatusCallback);
    if (!complete) {
        s_library.Free();
        s_failed = true;
        return nullptr;
    }
    s_entries = entries;
    s_loaded = true;
    return &s_entries;
}

void UrlMonLibrary::Release()
{
    s_entries = {};
    s_loaded = false;
    s_library.Free();
}
