#pragma once
#include "base/MKString.h"

// Scheme kinds of UrlParts; 0 when a parse failed.
enum UrlSchemeKind { kSchemeNone = 0, kSchemeFile = 1, kSchemeHttp = 2, kSchemeHttps = 3, kSchemeFtp = 4 };

// 80 for http, 443 for https, 21 for ftp, -1 for anything else.
int DefaultPortOfScheme(int kind);

// A URL handed to the bind host, taken apart. File URLs ("file:///",
// "file://" and bare drive paths with ':' or '|') are made canonical local
// paths; http, https and ftp URLs are split into host, port, path, query and
// fragment and otherwise kept as they are (no decoding, no case folding, no
// "." or ".." resolution). Scheme prefixes are compared case-sensitively.
// Plain data, one thread at a time.
class UrlParts {
public:
    UrlParts() = default;

    // On success every field is set from url; on failure Reset runs. In both
    // cases sourceText is url as given.
    bool Parse(const MKString& url);
    void Reset();

    // Whether this is a file path below the virtual root (any letter case).
    bool IsUnderVirtualRoot() const;
    // Whether this is a file path below the background-image folder.
    bool IsBackgroundImage() const;
    // scheme prefix + host + port suffix + URL path + query + fragment.
    MKString Rebuild() const;

    MKString sourceText;
    int schemeKind = kSchemeNone;
    // "file:///" for every file URL.
    MKString schemePrefix;
    MKString host;
    // The explicit port, else the scheme's default; -1 for file URLs.
    int port = -1;
    // File: the canonical local path. Others: from the first '/' after the
    // host, without query and fragment.
    MKString path;
    // '?' included; empty when absent.
    MKString query;
    // '#' included; empty when absent.
    MKString fragment;
    // File: the path in URL form ("C|/dir/name", percent-encoded). Others: path.
    MKString urlPath;
    // ":port" when the port is not the scheme's default, else empty.
    MKString portSuffix;

private:
    bool ParseFile(MKString rest);
    bool ParseNetwork(const MKString& rest);
};
