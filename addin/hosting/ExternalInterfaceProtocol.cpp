#include "addin/hosting/ExternalInterfaceProtocol.h"

#include <charconv>
#include <stdlib.h>
#include <wchar.h>

namespace ExternalInterfaceProtocol {

namespace {

const wchar_t kInvokeStart[] = L"<invoke name=\"";
const int kInvokeStartLength = 14;

// Whether `text` at `position` starts with `prefix`.
bool StartsAt(const MKString& text, int position, const wchar_t* prefix)
{
    const int length = int(wcslen(prefix));
    return position >= 0 && position + length <= text.GetLength() &&
        wcsncmp(text.GetText() + position, prefix, size_t(length)) == 0;
}

}  // namespace

MKString Invoke(const wchar_t* name, const MKString& arguments)
{
    MKString request(L"<invoke name=\"");
    request.AppendText(name);
    request.AppendText(L"\" returntype=\"xml\"><arguments>");
    request.AppendString(arguments);
    request.AppendText(L"</arguments></invoke>");
    return request;
}

MKString FormatNumber(float value)
{
    // "%g" of the value, "." whatever the C library's locale.
    char text[32];
    std::to_chars_result written =
        std::to_chars(text, text + sizeof(text) - 1, double(value), std::chars_format::general, 6);
    *written.ptr = 0;
    return MKString::MKStringFromAnsi(text);
}

MKString OnResizeRequest(int pixelWidth, int pixelHeight, float width, float height)
{
    MKString arguments;
    arguments.Format(L"<number>%d</number><number>%d</number><number>", pixelWidth, pixelHeight);
    arguments.AppendString(FormatNumber(width));
    arguments.AppendText(L"</number><number>");
    arguments.AppendString(FormatNumber(height));
    arguments.AppendText(L"</number>");
    return Invoke(L"__vqz_OnResize", arguments);
}

MKString RefreshBackgroundRequest()
{
    return Invoke(L"__vqz_RefreshBackground", MKString());
}

MKString OnAxVisibleChangedRequest(bool visible)
{
    return Invoke(L"__vqz_OnAxVisibleChanged", MKString(visible ? L"<true/>" : L"<false/>"));
}

bool ParseInvokedName(const MKString& request, MKString& name)
{
    name.Clear();
    if (request.GetLength() <= kInvokeStartLength || !StartsAt(request, 0, kInvokeStart))
        return false;
    const int end = request.FindChar(L'"', kInvokeStartLength);
    if (end < 0)
        return false;
    name = request.Substring(kInvokeStartLength, end - kInvokeStartLength);
    return true;
}

bool ParseFirstArgumentTrue(const MKString& request)
{
    int at = request.Find(L"<arguments>");
    if (at < 0)
        return false;
    at += 11;
    if (StartsAt(request, at, L"<true/>"))
        return true;
    if (!StartsAt(request, at, L"<number>"))
        return false;
    at += 8;
    const int end = request.Find(L"</number>", at);
    if (end <= at)
        return false;
    MKString number = request.Substring(at, end - at);
    wchar_t* rest = nullptr;
    const double value = wcstod(number.GetText(), &rest);
    return rest && *rest == 0 && value != 0;
}

bool ParseStringArgument(const MKString& request, MKString& text)
{
    text.Clear();
    const int open = request.Find(L"<string>");
    if (open < 0)
        return false;
    const int start = open + 8;
    const int close = request.Find(L"</string>", start);
    if (close <= start)
        return false;
    text = DecodeXmlText(request.Substring(start, close - start));
    return true;
}

MKString DecodeXmlText(const MKString& text)
{
    if (text.GetLength() <= 3)
        return text;
    static const struct {
        const wchar_t* entity;
        wchar_t character;
    } kEntities[] = {{L"&quot;", L'"'}, {L"&apos;", L'\''}, {L"&amp;", L'&'}, {L"&lt;", L'<'}, {L"&gt;", L'>'}};
    MKString decoded;
    const wchar_t* chars = text.GetText();
    const int length = text.GetLength();
    int copied = 0;
    for (int i = 0; i < length; ++i) {
        if (chars[i] != L'&')
            continue;
        for (const auto& entry : kEntities) {
            if (StartsAt(text, i, entry.entity)) {
                decoded.Append(chars + copied, i - copied);
                decoded.Append(&entry.character, 1);
                i += int(wcslen(entry.entity)) - 1;
                copied = i + 1;
                break;
            }
        }
    }
    decoded.Append(chars + copied, length - copied);
    return decoded;
}

}  // namespace ExternalInterfaceProtocol
