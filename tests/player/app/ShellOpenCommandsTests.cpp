#include "player/app/framework/MKShellOpenCommands.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    const char* text;
    bool ok;
    std::vector<std::string> paths;
};

TEST(ShellOpenCommands, OpenPathsOfACommandSequence)
{
    const Case cases[] = {
        {"[open(\"C:\\movies\\a.swf\")]", true, {"C:\\movies\\a.swf"}},
        {"[OPEN(\"b.swf\")]", true, {"b.swf"}},
        {"[open(c.swf)]", true, {"c.swf"}},
        {"[open(\"d (1)].swf\")]", true, {"d (1)].swf"}},
        {"[print(\"x.swf\")][open(\"e.swf\")] [open(\"f.swf\")]", true, {"e.swf", "f.swf"}},
        {"[open(\"\")]", true, {}},
        {"[close]", true, {}},
        {"", false, {}},
        {"open(\"g.swf\")", false, {}},
        {"[open(\"h.swf)]", false, {}},
        {"[open(\"i.swf\")", false, {}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> paths;
        EXPECT_EQ(c.ok, MKParseShellOpenCommands(c.text, paths)) << c.text;
        if (c.ok)
            EXPECT_EQ(c.paths, paths) << c.text;
    }
}

}  // namespace
