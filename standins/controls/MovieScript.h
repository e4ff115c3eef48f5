#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace standin {

// The stand-in controls' movie format (Flash and QuickTime): UTF-8 text, one
// statement a line, '#' starts a comment line, blank lines are skipped. The
// first statement must be "standin-movie 1". Then, in any order:
//   rate N              frames per second, 1..1000 (default 20)
//   loop on|off         whether playback wraps at the end (default on)
//   frame AARRGGBB      one frame filled with that straight-alpha colour;
//                       frames are numbered from 0 in the order given
// and, read by the Flash control alone:
//   call N REQUEST      when frame N is entered, the control fires FlashCall
//                       with REQUEST (the rest of the line) as its argument
//   answer NAME TEXT    CallFunction of the function NAME answers TEXT
//   fetch NAME URL      CallFunction of NAME makes the control fetch URL
//                       through its site's bind host and check it as a
//                       background picture (BackgroundPicture); it answers
//                       "<undefined/>"
// At least one frame is required. Plain data, parsed without windows.
struct MovieScript {
    struct TimedCall {
        int frame;
        std::wstring request;
    };

    int rate = 20;
    bool loop = true;
    std::vector<uint32_t> frames;
    std::vector<TimedCall> calls;
    std::map<std::wstring, std::wstring> answers;
    std::map<std::wstring, std::wstring> fetches;

    // False with a reason ("line 3: unknown statement") for anything else.
    static bool Parse(const std::string& bytes, MovieScript& script, std::wstring& error);
};

// The name of the function an ExternalInterface request invokes: the text
// between '<invoke name="' at the start and the next '"'; empty when the
// request has no such form.
std::wstring InvokedName(const std::wstring& request);

}  // namespace standin
