#include "base/MKHttpSendOptions.h"

#include <windows.h>
#include <wininet.h>

const wchar_t* const kMKHttpFormContentType = L"application/x-www-form-urlencoded";

uint32_t MKHttpRequestFlags(bool allowCache, bool secure, bool ignoreCertificateErrors)
{
    uint32_t flags = INTERNET_FLAG_KEEP_CONNECTION | INTERNET_FLAG_RESYNCHRONIZE | INTERNET_FLAG_HYPERLINK |
                     INTERNET_FLAG_NO_UI;
    if (!allowCache)
        flags |= INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE;
    if (secure) {
        flags |= INTERNET_FLAG_SECURE;
        if (ignoreCertificateErrors)
            flags |= INTERNET_FLAG_IGNORE_CERT_CN_INVALID | INTERNET_FLAG_IGNORE_CERT_DATE_INVALID;
    }
    return flags;
}

MKString MKHttpExtraHeaders(bool post, const MKString& contentType, uint32_t flags)
{
    MKString headers;
    if (post)
        headers.Format(L"Content-Type: %s", contentType.IsEmpty() ? kMKHttpFormContentType : contentType.GetText());
    if (flags & INTERNET_FLAG_PRAGMA_NOCACHE) {
        if (!headers.IsEmpty())
            headers.AppendText(L"\r\n");
        headers.AppendText(L"Cache-Control: no-cache");
    }
    return headers;
}
