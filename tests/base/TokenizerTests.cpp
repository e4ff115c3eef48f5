#include "base/MKStringTokenizer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::wstring> Tokens(const wchar_t* text, const wchar_t* separators, bool skipEmpty)
{
    std::vector<std::wstring> tokens;
    MKStringTokenizer tokenizer(text, separators, skipEmpty);
    int length = -1;
    while (const wchar_t* token = tokenizer.Next(&length))
        tokens.emplace_back(token, length);
    EXPECT_EQ(0, length);
    return tokens;
}

TEST(Tokenizer, EmptyTokenRules)
{
    struct Case {
        const wchar_t* text;
        const wchar_t* separators;
        bool skipEmpty;
        std::vector<std::wstring> tokens;
    } cases[] = {
        {L"a;;b", nullptr, true, {L"a", L"b"}},
        {L"a;;b", nullptr, false, {L"a", L"", L"b"}},
        {L";a", nullptr, true, {L"", L"a"}},
        {L"a;", nullptr, false, {L"a", L""}},
        {L"a;", nullptr, true, {L"a", L""}},
        {L"a;;", nullptr, true, {L"a", L""}},
        {L";;", nullptr, true, {L"", L""}},
        {L";", nullptr, false, {L"", L""}},
        {L"", nullptr, false, {}},
        {nullptr, nullptr, false, {}},
        {L"abc", nullptr, false, {L"abc"}},
        {L"a,b;c d", L",;", false, {L"a", L"b", L"c d"}},
        {L"a;b", L"", false, {L"a", L"b"}},
        {L"x  y ", L" ", true, {L"x", L"y", L""}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.tokens, Tokens(c.text, c.separators, c.skipEmpty)) << (c.text ? c.text : L"(null)");
}

TEST(Tokenizer, InitStartsOver)
{
    MKStringTokenizer tokenizer(L"a;b");
    int length = 0;
    ASSERT_NE(nullptr, tokenizer.Next(&length));
    tokenizer.Init(L"q", L",", false);
    const wchar_t* token = tokenizer.Next(&length);
    ASSERT_NE(nullptr, token);
    EXPECT_EQ(std::wstring(L"q"), std::wstring(token, length));
    EXPECT_EQ(nullptr, tokenizer.Next(&length));
    EXPECT_EQ(nullptr, tokenizer.Next(&length));
}

}  // namespace
