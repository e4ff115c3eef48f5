#include "standins/flash/BackgroundPicture.h"
#include "standins/controls/MovieScript.h"

#include <gtest/gtest.h>

namespace standin {
namespace {

TEST(MovieScript, ReadsEveryStatement)
{
    MovieScript script;
    std::wstring error;
    ASSERT_TRUE(MovieScript::Parse("# comment\r\nstandin-movie 1\r\n\r\nrate 50\nloop off\nframe FF102030\n"
                                   "frame 80FF0000\ncall 1 <invoke name=\"a\"> x</invoke>\n"
                                   "answer f <string>y</string>\nfetch g C:\\bg\\1.bin\n",
                                   script, error))
        << error;
    EXPECT_EQ(50, script.rate);
    EXPECT_FALSE(script.loop);
    EXPECT_EQ((std::vector<uint32_t>{0xFF102030u, 0x80FF0000u}), script.frames);
    ASSERT_EQ(1u, script.calls.size());
    EXPECT_EQ(1, script.calls[0].frame);
    EXPECT_EQ(L"<invoke name=\"a\"> x</invoke>", script.calls[0].request);
    EXPECT_EQ(L"<string>y</string>", script.answers[L"f"]);
    EXPECT_EQ(L"C:\\bg\\1.bin", script.fetches[L"g"]);
}

TEST(MovieScript, RefusesBadScriptsWithTheLine)
{
    struct Case {
        const char* text;
        const wchar_t* error;
    };
    const Case cases[] = {
        {"", L"not a stand-in movie"},
        {"standin-movie 2\nframe FF000000\n", L"line 1: not a stand-in movie"},
        {"FWS\x09", L"line 1: not a stand-in movie"},
        {"standin-movie 1\n", L"no frames"},
        {"standin-movie 1\nrate 0\nframe FF000000\n", L"line 2: bad rate"},
        {"standin-movie 1\nloop maybe\n", L"line 2: bad loop"},
        {"standin-movie 1\nframe FF0000\n", L"line 2: bad frame colour"},
        {"standin-movie 1\nframe FF00000G\n", L"line 2: bad frame colour"},
        {"standin-movie 1\ncall x <invoke/>\n", L"line 2: bad call"},
        {"standin-movie 1\ncall 1\n", L"line 2: bad call"},
        {"standin-movie 1\nanswer f\n", L"line 2: bad answer"},
        {"standin-movie 1\njump 3\n", L"line 2: unknown statement"},
    };
    for (const Case& c : cases) {
        MovieScript script;
        std::wstring error;
        EXPECT_FALSE(MovieScript::Parse(c.text, script, error)) << c.text;
        EXPECT_EQ(c.error, error) << c.text;
    }
}

TEST(MovieScript, InvokedNameNeedsTheRequestForm)
{
    EXPECT_EQ(L"__vqz_OnResize", InvokedName(L"<invoke name=\"__vqz_OnResize\" returntype=\"xml\"></invoke>"));
    EXPECT_EQ(L"", InvokedName(L"<Invoke name=\"x\">"));
    EXPECT_EQ(L"", InvokedName(L"<invoke name=\"x"));
}

std::string Bytes(std::initializer_list<uint32_t> words)
{
    std::string bytes;
    for (uint32_t word : words) {
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back(static_cast<char>(word >> shift));
    }
    return bytes;
}

TEST(BackgroundPicture, DescribesWhatTheHeaderPromises)
{
    struct Case {
        std::string bytes;
        const wchar_t* description;
    };
    std::string picture = Bytes({0x4845A3C8, 0, 2, 1}) + std::string("\x80\x11\x22\x33\xFF\0\0\0", 8);
    const Case cases[] = {
        {Bytes({0x4845A3C8, 1, 0xFF123456}), L"uniform FF123456"},
        {picture, L"2x1 top-left 80112233"},
        {Bytes({0x4845A3C8, 1}), L"rejected: 8 bytes"},
        {Bytes({0x4845A3C9, 1, 0}), L"rejected: bad magic"},
        {Bytes({0x4845A3C8, 1, 0, 0}), L"rejected: uniform picture of 16 bytes"},
        {Bytes({0x4845A3C8, 2, 0}), L"rejected: bad kind"},
        {Bytes({0x4845A3C8, 0, 2, 2, 0}), L"rejected: 2x2 in 20 bytes"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.description, DescribeBackgroundPicture(c.bytes));
}

}  // namespace
}  // namespace standin
