#include "standins/controls/ColourText.h"

#include <cwchar>
#include <cwctype>

namespace standin {

bool ParseRgbText(const wchar_t* text, uint32_t& colour)
{
    if (!text)
        return false;
    if (*text == L'#')
        ++text;
    if (std::wcslen(text) != 6)
        return false;
    for (const wchar_t* c = text; *c; ++c) {
        if (!std::iswxdigit(*c))
            return false;
    }
    colour = static_cast<uint32_t>(std::wcstoul(text, nullptr, 16));
    return true;
}

std::wstring RgbText(uint32_t colour)
{
    wchar_t text[12];
    swprintf(text, 12, L"#%06X", static_cast<unsigned>(colour & 0xFFFFFF));
    return text;
}

}  // namespace standin
