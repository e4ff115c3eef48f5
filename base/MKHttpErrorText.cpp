#include "base/MKHttpErrorText.h"

namespace {

MKString MessageText(DWORD source, HMODULE module, DWORD code)
{
    wchar_t* text = nullptr;
    DWORD n = FormatMessageW(source | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS, module, code,
                             MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    MKString result = n > 0 && text ? MKString::MKStringFromChars(text, int(n)) : MKString();
    if (text)
        LocalFree(text);
    return result;
}

}  // namespace

MKString MKHttpErrorText(DWORD code, HMODULE wininet)
{
    MKString text = MessageText(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, code);
    if (text.IsEmpty() && wininet)
        text = MessageText(FORMAT_MESSAGE_FROM_HMODULE, wininet, code);
    text.TrimRight();
    return text.IsEmpty() ? MKString(L"Unknown Error") : text;
}
