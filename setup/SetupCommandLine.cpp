#include "setup/SetupCommandLine.h"

#include "base/MKAsciiCase.h"

namespace {

bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t';
}

}  // namespace

void SetupCommandLine::Parse(const wchar_t* text)
{
    if (!text)
        return;
    bool first = true;
    bool inSource = false;
    const wchar_t* p = text;
    for (;;) {
        while (IsBlank(*p))
            ++p;
        if (!*p)
            return;
        const wchar_t* start = p;
        bool quoted = false;
        for (; *p && (quoted || !IsBlank(*p)); ++p) {
            if (*p == L'"')
                quoted = !quoted;
        }
        MKString token = MKString::MKStringFromChars(start, int(p - start));
        if (first) {
            first = false;
        } else if (inSource) {
            source = token;
            source.RemoveChar(L'"');
        } else if (MKAsciiCompareNoCase(token.GetText(), L"/silent") == 0) {
            silent = true;
        } else if (MKAsciiCompareNoCase(token.GetText(), L"/from_updater") == 0) {
            fromUpdater = true;
        } else if (MKAsciiCompareNoCase(token.GetText(), L"/source") == 0) {
            inSource = true;
        }
    }
}
