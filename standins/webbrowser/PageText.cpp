#include "standins/webbrowser/PageText.h"

#include "standins/controls/ColourText.h"

#include <windows.h>
#include <cwctype>

namespace standin {
namespace {

std::wstring Lower(std::wstring text)
{
    for (wchar_t& c : text)
        c = std::towlower(c);
    return text;
}

// Text with tags dropped, entities decoded and white space collapsed.
std::wstring VisibleText(const std::wstring& html)
{
    std::wstring text;
    bool inTag = false;
    bool space = false;
    for (size_t i = 0; i < html.size(); ++i) {
        wchar_t c = html[i];
        if (inTag) {
            inTag = c != L'>';
            continue;
        }
        if (c == L'<') {
            inTag = true;
            space = !text.empty();
            continue;
        }
        if (std::iswspace(c)) {
            space = !text.empty();
            continue;
        }
        if (space) {
            text += L' ';
            space = false;
        }
        if (c == L'&') {
            static const struct {
                const wchar_t* entity;
                wchar_t character;
            } entities[] = {{L"&amp;", L'&'}, {L"&lt;", L'<'}, {L"&gt;", L'>'}, {L"&quot;", L'"'}};
            bool decoded = false;
            for (const auto& entry : entities) {
                size_t length = wcslen(entry.entity);
                if (html.compare(i, length, entry.entity) == 0) {
                    text += entry.character;
                    i += length - 1;
                    decoded = true;
                    break;
                }
            }
            if (decoded)
                continue;
        }
        text += c;
    }
    return text;
}

}  // namespace

PageText PageText::Parse(const std::string& bytes)
{
    int size = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring html(size, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), html.data(), size);
    std::wstring lower = Lower(html);

    PageText page;
    size_t title = lower.find(L"<title>");
    size_t titleEnd = title == std::wstring::npos ? title : lower.find(L"</title>", title);
    if (titleEnd != std::wstring::npos)
        page.title = VisibleText(html.substr(title + 7, titleEnd - title - 7));

    const std::wstring open = L"window.open('";
    for (size_t at = html.find(open); at != std::wstring::npos; at = html.find(open, at + 1)) {
        size_t end = html.find(L'\'', at + open.size());
        if (end != std::wstring::npos)
            page.popups.push_back(html.substr(at + open.size(), end - at - open.size()));
    }
    size_t body = lower.find(L"<body");
    if (body == std::wstring::npos) {
        page.text = VisibleText(html);
        return page;
    }
    size_t bodyEnd = lower.find(L'>', body);
    std::wstring tag = lower.substr(body, bodyEnd == std::wstring::npos ? std::wstring::npos : bodyEnd - body);
    size_t colour = tag.find(L"bgcolor=\"");
    if (colour != std::wstring::npos) {
        size_t end = tag.find(L'"', colour + 9);
        if (end != std::wstring::npos)
            ParseRgbText(tag.substr(colour + 9, end - colour - 9).c_str(), page.background);
    }
    page.text = VisibleText(html.substr(body));
    return page;
}

}  // namespace standin
