#include "standins/controls/MovieScript.h"

#include <windows.h>
#include <cwchar>

namespace standin {
namespace {

std::wstring Widen(const std::string& bytes)
{
    int size = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(size, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), size);
    return text;
}

// Splits off the first space-separated word of `rest`.
std::wstring Word(std::wstring& rest)
{
    size_t start = rest.find_first_not_of(L' ');
    if (start == std::wstring::npos) {
        rest.clear();
        return {};
    }
    size_t end = rest.find(L' ', start);
    std::wstring word = rest.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
    rest = end == std::wstring::npos ? std::wstring() : rest.substr(end + 1);
    return word;
}

bool Number(const std::wstring& text, long low, long high, long& value)
{
    if (text.empty())
        return false;
    wchar_t* end = nullptr;
    value = std::wcstol(text.c_str(), &end, 10);
    return *end == 0 && value >= low && value <= high;
}

}  // namespace

bool MovieScript::Parse(const std::string& bytes, MovieScript& script, std::wstring& error)
{
    script = MovieScript();
    std::wstring text = Widen(bytes);
    bool headerSeen = false;
    size_t position = 0;
    int lineNumber = 0;
    while (position <= text.size()) {
        size_t end = text.find(L'\n', position);
        std::wstring line = text.substr(position, end == std::wstring::npos ? std::wstring::npos : end - position);
        position = end == std::wstring::npos ? text.size() + 1 : end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == L'\r')
            line.pop_back();
        std::wstring rest = line;
        std::wstring keyword = Word(rest);
        if (keyword.empty() || keyword[0] == L'#')
            continue;
        auto fail = [&](const wchar_t* what) {
            error = L"line " + std::to_wstring(lineNumber) + L": " + what;
            return false;
        };
        long number = 0;
        if (!headerSeen) {
            if (keyword != L"standin-movie" || Word(rest) != L"1" || !rest.empty())
                return fail(L"not a stand-in movie");
            headerSeen = true;
        } else if (keyword == L"rate") {
            if (!Number(Word(rest), 1, 1000, number) || !rest.empty())
                return fail(L"bad rate");
            script.rate = static_cast<int>(number);
        } else if (keyword == L"loop") {
            std::wstring value = Word(rest);
            if ((value != L"on" && value != L"off") || !rest.empty())
                return fail(L"bad loop");
            script.loop = value == L"on";
        } else if (keyword == L"frame") {
            std::wstring value = Word(rest);
            wchar_t* stop = nullptr;
            unsigned long colour = std::wcstoul(value.c_str(), &stop, 16);
            if (value.size() != 8 || *stop != 0 || !rest.empty())
                return fail(L"bad frame colour");
            script.frames.push_back(static_cast<uint32_t>(colour));
        } else if (keyword == L"call") {
            if (!Number(Word(rest), 0, 1000000, number) || rest.empty())
                return fail(L"bad call");
            script.calls.push_back({static_cast<int>(number), rest});
        } else if (keyword == L"answer" || keyword == L"fetch") {
            std::wstring name = Word(rest);
            if (name.empty() || rest.empty())
                return fail(keyword == L"answer" ? L"bad answer" : L"bad fetch");
            (keyword == L"answer" ? script.answers : script.fetches)[name] = rest;
        } else {
            return fail(L"unknown statement");
        }
    }
    if (!headerSeen) {
        error = L"not a stand-in movie";
        return false;
    }
    if (script.frames.empty()) {
        error = L"no frames";
        return false;
    }
    return true;
}

std::wstring InvokedName(const std::wstring& request)
{
    const std::wstring prefix = L"<invoke name=\"";
    if (request.compare(0, prefix.size(), prefix) != 0)
        return {};
    size_t end = request.find(L'"', prefix.size());
    if (end == std::wstring::npos)
        return {};
    return request.substr(prefix.size(), end - prefix.size());
}

}  // namespace standin
