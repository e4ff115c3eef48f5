#pragma once
#include "base/MKString.h"

#include <stdint.h>

// The request flags and extra header text of one HTTP request; plain functions
// of the request's options, no network involved.

// Reload, no cache write, keep connection, resynchronize, hyperlink, no UI and
// pragma no-cache (0x84400F00), or with the cache allowed only keep
// connection, resynchronize, hyperlink and no UI (0x400E00). secure (an https
// URL) adds INTERNET_FLAG_SECURE, and ignoreCertificateErrors then the two
// certificate name and date exemptions.
uint32_t MKHttpRequestFlags(bool allowCache, bool secure, bool ignoreCertificateErrors);

// "Content-Type: " and the content type (the form type when empty) for a POST;
// "Cache-Control: no-cache" when the flags ask for pragma no-cache; lines
// joined by CR LF, no line end after the last. Empty when neither applies.
MKString MKHttpExtraHeaders(bool post, const MKString& contentType, uint32_t flags);

// The content type of a POST body when none is set.
extern const wchar_t* const kMKHttpFormContentType;
