#include "base/MKString.h"
#include "base/MKTextBuffer.h"

#include "AllocFailure.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::wstring Text(const MKTextBuffer& buffer)
{
    EXPECT_EQ(buffer.GetCount() == 0 ? 0 : buffer.GetLength() + 1, buffer.GetCount());
    EXPECT_EQ(0, buffer.GetText()[buffer.GetLength()]);
    return buffer.GetText();
}

TEST(TextBuffer, FirstAppendTakesExactlyWhatItNeeds)
{
    MKTextBuffer buffer;
    EXPECT_EQ(std::wstring(), Text(buffer));
    ASSERT_TRUE(buffer.Append(L"ab", 2));
    EXPECT_EQ(3, buffer.GetCount());
    EXPECT_EQ(3, buffer.GetCapacity());
    EXPECT_EQ(L"ab", Text(buffer));

    MKTextBuffer single;
    ASSERT_TRUE(single.AppendChar(L'x'));
    EXPECT_EQ(2, single.GetCount());
    EXPECT_EQ(2, single.GetCapacity());
}

TEST(TextBuffer, LaterAppendsGrowByHalf)
{
    MKTextBuffer buffer;
    ASSERT_TRUE(buffer.AppendText(L"abcdefghi"));  // count 10, capacity 10
    ASSERT_TRUE(buffer.AppendChar(L'j'));
    EXPECT_EQ(15, buffer.GetCapacity());
    ASSERT_TRUE(buffer.Append(L"0123456789", 10));
    EXPECT_EQ(21, buffer.GetCount());
    EXPECT_EQ(22, buffer.GetCapacity());
    EXPECT_EQ(L"abcdefghij0123456789", Text(buffer));
}

TEST(TextBuffer, NothingToAppend)
{
    MKTextBuffer buffer;
    EXPECT_TRUE(buffer.Append(L"ab", 0));
    EXPECT_TRUE(buffer.Append(L"ab", -1));
    EXPECT_TRUE(buffer.AppendText(nullptr));
    EXPECT_TRUE(buffer.AppendText(L""));
    EXPECT_EQ(0, buffer.GetCount());
    EXPECT_EQ(0, buffer.GetCapacity());
}

TEST(TextBuffer, AppendBufferIntoEmptyBufferAppends)
{
    MKTextBuffer source, target;
    ASSERT_TRUE(source.AppendText(L"hello"));
    ASSERT_TRUE(target.AppendBuffer(source));
    EXPECT_EQ(L"hello", Text(target));
    ASSERT_TRUE(target.AppendBuffer(source));
    EXPECT_EQ(L"hellohello", Text(target));
    MKTextBuffer empty;
    ASSERT_TRUE(target.AppendBuffer(empty));
    EXPECT_EQ(L"hellohello", Text(target));
}

TEST(TextBuffer, AppendOfItsOwnTextWhileGrowing)
{
    MKTextBuffer buffer;
    ASSERT_TRUE(buffer.AppendText(L"abc"));
    ASSERT_TRUE(buffer.AppendBuffer(buffer));
    EXPECT_EQ(L"abcabc", Text(buffer));
    ASSERT_TRUE(buffer.Append(buffer.GetText() + 1, 4));
    EXPECT_EQ(L"abcabcbcab", Text(buffer));
}

TEST(TextBuffer, FailedAppendKeepsTheText)
{
    MKTextBuffer buffer;
    ASSERT_TRUE(buffer.AppendText(L"abc"));
    AllocFailureScope failing(0);
    EXPECT_FALSE(buffer.AppendText(L"defg"));
    EXPECT_EQ(L"abc", Text(buffer));
    // A set-size that cannot grow empties the buffer instead.
    EXPECT_FALSE(buffer.SetSize(10));
    EXPECT_EQ(0, buffer.GetCount());
    MKTextBuffer empty;
    EXPECT_FALSE(empty.AppendChar(L'x'));
    EXPECT_EQ(0, empty.GetCount());
}

TEST(TextBuffer, SetSizeLetsCallersWriteInPlace)
{
    MKTextBuffer buffer;
    ASSERT_TRUE(buffer.AppendText(L"ab"));
    ASSERT_TRUE(buffer.SetSize(5));
    EXPECT_EQ(5, buffer.GetCapacity());
    buffer.GetData()[2] = L'c';
    buffer.GetData()[3] = L'd';
    EXPECT_EQ(L"abcd", Text(buffer));
    buffer.Clear();
    EXPECT_EQ(0, buffer.GetCount());
    EXPECT_EQ(L"", Text(buffer));
}

TEST(TextBuffer, ToStringCopiesTheText)
{
    MKTextBuffer buffer;
    EXPECT_EQ(0, buffer.ToString().GetLength());
    ASSERT_TRUE(buffer.AppendText(L"xyz"));
    MKString text = buffer.ToString();
    buffer.GetData()[0] = L'q';
    EXPECT_TRUE(text.EqualsText(L"xyz"));
}

}  // namespace
