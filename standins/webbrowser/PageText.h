#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace standin {

// What the stand-in WebBrowser shows of an HTML page: its title, the
// background colour of <body bgcolor="#RRGGBB"> (white when absent or not of
// that form) and the text outside tags after <body (the whole page when it
// has none), with runs of white space made one space and &amp; &lt; &gt;
// &quot; decoded, and the addresses of the page's requests for windows of
// their own (window.open('address') anywhere in the page). Plain text work,
// no windows.
struct PageText {
    std::wstring title;
    std::wstring text;
    std::vector<std::wstring> popups;
    uint32_t background = 0xFFFFFF;

    static PageText Parse(const std::string& bytes);
};

}  // namespace standin
