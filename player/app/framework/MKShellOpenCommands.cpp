#include "player/app/framework/MKShellOpenCommands.h"

#include "base/MKAsciiCase.h"

bool MKParseShellOpenCommands(const std::string& text, std::vector<std::string>& paths)
{
    paths.clear();
    size_t at = 0;
    bool any = false;
    for (;;) {
        while (at < text.size() && (text[at] == ' ' || text[at] == '\t' || text[at] == '\r' || text[at] == '\n'))
            ++at;
        if (at >= text.size())
            return any;
        if (text[at] != '[')
            return false;
        const size_t close = text.find(']', at);
        const size_t open = text.find('(', at);
        if (close == std::string::npos)
            return false;
        any = true;
        std::string name = text.substr(at + 1, (open < close ? open : close) - at - 1);
        while (!name.empty() && name.back() == ' ')
            name.pop_back();
        if (open < close && MKAsciiCompareNoCase(name.c_str(), "open") == 0) {
            // A quoted argument may hold ']' and ')'.
            size_t start = open + 1;
            std::string path;
            size_t end;
            if (start < text.size() && text[start] == '"') {
                end = text.find('"', start + 1);
                if (end == std::string::npos)
                    return false;
                path = text.substr(start + 1, end - start - 1);
            } else {
                end = text.find(')', start);
                if (end == std::string::npos)
                    return false;
                path = text.substr(start, end - start);
            }
            if (!path.empty())
                paths.push_back(path);
            const size_t after = text.find(']', end);
            if (after == std::string::npos)
                return false;
            at = after + 1;
        } else {
            at = close + 1;
        }
    }
}
