#include "addin/hosting/UrlParts.h"

#include "addin/hosting/VirtualRoot.h"
#include "base/MKAsciiCase.h"
#include "base/MKPath.h"
#include "base/MKQueryParams.h"
#include "base/MKTextConvert.h"

namespace {

bool StartsWith(const MKString& text, const wchar_t* prefix, int length)
{
    return text.GetLength() >= length && wcsncmp(text.GetText(), prefix, length) == 0;
}

bool IsAsciiLetter(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

// Moves "?query#fragment" off the end of text: the earlier of the first '?'
// and the first '#' starts the tail; a '#' inside the tail starts the fragment.
void SplitTail(MKString& text, MKString& query, MKString& fragment)
{
    query.Clear();
    fragment.Clear();
    const int question = text.FindChar(L'?');
    const int hash = text.FindChar(L'#');
    int start = question;
    if (start < 0 || (hash >= 0 && hash < start))
        start = hash;
    if (start < 0)
        return;
    MKString tail = text.Mid(start);
    text = text.Left(start);
    const int tailHash = tail.FindChar(L'#');
    if (tailHash < 0) {
        query = tail;
        return;
    }
    fragment = tail.Mid(tailHash);
    query = tail.Left(tailHash);
}

bool HasPrefixNoCase(const MKString& path, const wchar_t* prefix, int length)
{
    return path.GetLength() >= length && MKAsciiCompareNoCase(path.GetText(), prefix, length) == 0;
}

}  // namespace

int DefaultPortOfScheme(int kind)
{
    switch (kind) {
    case kSchemeHttp: return 80;
    case kSchemeHttps: return 443;
    case kSchemeFtp: return 21;
    default: return -1;
    }
}

void UrlParts::Reset()
{
    sourceText.Clear();
    schemeKind = kSchemeNone;
    schemePrefix.Clear();
    host.Clear();
    port = -1;
    path.Clear();
    query.Clear();
    fragment.Clear();
    urlPath.Clear();
    portSuffix.Clear();
}

bool UrlParts::Parse(const MKString& url)
{
    Reset();
    MKString rest = url;
    rest.TrimLeft();
    bool parsed = false;
    if (StartsWith(rest, L"file:///", 8)) {
        parsed = ParseFile(rest.Mid(8));
    } else if (StartsWith(rest, L"file://", 7)) {
        parsed = ParseFile(rest.Mid(7));
    } else if (rest.GetLength() > 2 && (rest[1] == L'|' || rest[1] == L':') && (rest[2] == L'/' || rest[2] == L'\\') &&
               IsAsciiLetter(rest[0])) {
        parsed = ParseFile(rest);
    } else {
        static const struct {
            const wchar_t* prefix;
            int length;
            int kind;
        } kNetworkSchemes[] = {
            {L"http://", 7, kSchemeHttp}, {L"https://", 8, kSchemeHttps}, {L"ftp://", 6, kSchemeFtp}};
        for (const auto& scheme : kNetworkSchemes) {
            if (StartsWith(rest, scheme.prefix, scheme.length)) {
                schemeKind = scheme.kind;
                schemePrefix = scheme.prefix;
                parsed = ParseNetwork(rest.Mid(scheme.length));
                break;
            }
        }
    }
    if (!parsed)
        Reset();
    sourceText = url;
    return parsed;
}

bool UrlParts::ParseFile(MKString rest)
{
    if (rest.GetLength() < 3 || !IsAsciiLetter(rest[0]) || (rest[1] != L':' && rest[1] != L'|') ||
        (rest[2] != L'/' && rest[2] != L'\\'))
        return false;
    rest.SetAt(1, L':');
    SplitTail(rest, query, fragment);
    // A path the system refuses as canonical fails the parse instead of
    // passing on as it was written.
    bool canonical = false;
    MKString full = MKPathCanonicalize(MKUrlDecode(rest), &canonical);
    if (!canonical || full.IsEmpty())
        return false;
    schemeKind = kSchemeFile;
    schemePrefix = L"file:///";
    path = full;
    MKString form = full;
    form.SetAt(1, L'|');
    form.ReplaceChar(L'\\', L'/');
    urlPath = MKUrlEncode(form);
    urlPath.Replace(L"%7C", L"|");
    urlPath.Replace(L"%2F", L"/");
    host.Clear();
    portSuffix.Clear();
    port = -1;
    return true;
}

bool UrlParts::ParseNetwork(const MKString& rest)
{
    const int slash = rest.FindChar(L'/');
    if (slash < 1)
        return false;
    host = rest.Left(slash);
    path = rest.Mid(slash);
    SplitTail(path, query, fragment);
    port = -1;
    const int colon = host.FindChar(L':');
    if (colon >= 1) {
        MKString portText = host.Mid(colon + 1);
        host = host.Left(colon);
        if (!portText.IsEmpty()) {
            int value = 0;
            if (!MKTextToIntChecked(portText.GetText(), &value) || value < 0 || value > 65535)
                return false;
            port = value;
        }
    }
    const int defaultPort = DefaultPortOfScheme(schemeKind);
    if (port == -1)
        port = defaultPort;
    urlPath = path;
    portSuffix.Clear();
    if (port != defaultPort)
        portSuffix = MKString(L":") + MKString::FromInt(port);
    return true;
}

bool UrlParts::IsUnderVirtualRoot() const
{
    return schemeKind == kSchemeFile && HasPrefixNoCase(path, kVirtualRoot, kVirtualRootLength);
}

bool UrlParts::IsBackgroundImage() const
{
    return schemeKind == kSchemeFile && HasPrefixNoCase(path, kBackgroundImageFolder, kBackgroundImageFolderLength);
}

MKString UrlParts::Rebuild() const
{
    MKString url = schemePrefix;
    url.AppendString(host);
    url.AppendString(portSuffix);
    url.AppendString(urlPath);
    url.AppendString(query);
    url.AppendString(fragment);
    return url;
}
