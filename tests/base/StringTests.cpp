#include "base/MKOptional.h"
#include "base/MKString.h"

#include "base/MKTArray.h"
#include "base/MKTOArray.h"
#include "base/MKVersion.h"

#include "BaseTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <windows.h>
#include <oleauto.h>

namespace {

// A string of length `length` in an unshared block of exactly `capacity` units.
MKString WithCapacity(const wchar_t* text, int capacity)
{
    MKString s;
    wchar_t* chars = s.PrepareOverwrite(capacity - 1);
    int length = int(wcslen(text));
    wmemcpy(chars, text, size_t(length));
    chars[capacity - 1] = 0;
    s.SetLength(length);
    return s;
}

TEST(String, EmptyStringsShareOneBlockThatIsNeverFreed)
{
    MKString a;
    EXPECT_EQ(0, a.GetLength());
    EXPECT_EQ(1, a.GetCapacity());
    EXPECT_EQ(0, a.GetText()[0]);
    EXPECT_EQ(MKString::EmptyChars(), a.GetText());
    EXPECT_EQ(0x3FFFFFFF, a.GetRefCount());
    for (int i = 0; i < 1000; ++i) {
        MKString b;
        MKString c(b);
        MKString d = MKString::MKStringFromChars(L"x", 0);
        d = c;
    }
    EXPECT_EQ(MKString::EmptyChars(), a.GetText());
    EXPECT_EQ(0x3FFFFFFF, a.GetRefCount());
    EXPECT_EQ(MKString::EmptyChars(), MKString(static_cast<const wchar_t*>(nullptr)).GetText());
    EXPECT_EQ(MKString::EmptyChars(), MKString(L"").GetText());
}

TEST(String, CopiesShareUntilWritten)
{
    MKString a(L"abc");
    MKString b = a;
    EXPECT_EQ(a.GetText(), b.GetText());
    EXPECT_EQ(2, a.GetRefCount());
    b.AppendText(L"de");
    EXPECT_EQ(L"abc", Text(a));
    EXPECT_EQ(L"abcde", Text(b));
    EXPECT_EQ(1, a.GetRefCount());

    MKString c = WithCapacity(L"abc", 10);
    MKString d = c;
    d.SetAt(0, L'x');
    EXPECT_EQ(10, d.GetCapacity());  // the private copy keeps the capacity
    EXPECT_EQ(L"xbc", Text(d));
    EXPECT_EQ(L"abc", Text(c));

    MKString e = c;
    e.SetAt(0, L'a');  // nothing changes, so nothing is copied
    EXPECT_EQ(c.GetText(), e.GetText());
}

TEST(String, GrowthIsExact)
{
    MKString s = WithCapacity(L"abc", 4);
    s.AppendText(L"de");
    EXPECT_EQ(6, s.GetCapacity());
    EXPECT_EQ(L"abcde", Text(s));

    MKString roomy = WithCapacity(L"abc", 10);
    const wchar_t* block = roomy.GetText();
    roomy.AppendText(L"de");
    EXPECT_EQ(block, roomy.GetText());
    EXPECT_EQ(10, roomy.GetCapacity());
    EXPECT_EQ(L"abcde", Text(roomy));

    MKString shared = roomy;
    shared.GrowBy(1)[5] = L'f';
    EXPECT_EQ(7, shared.GetCapacity());  // shared: a new block of exactly the new size
    EXPECT_EQ(L"abcdef", Text(shared));
    EXPECT_EQ(L"abcde", Text(roomy));
}

TEST(String, PrepareOverwriteKeepsOrReplacesTheBlock)
{
    MKString roomy = WithCapacity(L"abcdef", 10);
    const wchar_t* block = roomy.GetText();
    roomy.PrepareOverwrite(8);
    EXPECT_EQ(block, roomy.GetText());
    EXPECT_EQ(8, roomy.GetLength());
    EXPECT_EQ(10, roomy.GetCapacity());

    MKString a(L"abcdef");
    MKString b = a;
    wchar_t* chars = b.PrepareOverwrite(3);
    EXPECT_NE(a.GetText(), chars);
    EXPECT_EQ(4, b.GetCapacity());
    EXPECT_EQ(L"abcdef", Text(a));

    MKString small(L"ab");
    small.PrepareOverwrite(5);
    EXPECT_EQ(6, small.GetCapacity());
}

TEST(String, ClearEmptiesAStringPreparedForWriting)
{
    // A block of its own whose first character is 0 (written or not yet):
    // Clear still empties it.
    for (wchar_t first : {L'\0', L'x'}) {
        MKString text;
        wchar_t* chars = text.PrepareOverwrite(5);
        ASSERT_NE(nullptr, chars);
        wmemcpy(chars, L"?abcd", 6);
        chars[0] = first;
        ASSERT_EQ(5, text.GetLength());
        text.Clear();
        EXPECT_EQ(0, text.GetLength()) << int(first);
        EXPECT_STREQ(L"", text.GetText());
    }
}

TEST(String, AppendAndAssignFromOwnCharacters)
{
    MKString s(L"abcd");
    s.Append(s.GetText() + 1, 2);
    EXPECT_EQ(L"abcdbc", Text(s));
    s.AppendString(s);
    EXPECT_EQ(L"abcdbcabcdbc", Text(s));

    MKString t(L"abcdef");
    t.Assign(t.GetText() + 2, 4);
    EXPECT_EQ(L"cdef", Text(t));
    t = t.GetText() + 1;
    EXPECT_EQ(L"def", Text(t));
    MKString shared = t;
    t.Assign(t.GetText() + 1, 2);
    EXPECT_EQ(L"ef", Text(t));
    EXPECT_EQ(L"def", Text(shared));
    t.SubstringInto(1, 1, t);
    EXPECT_EQ(L"f", Text(t));
}

TEST(String, FormatUsesTheStackBufferUpTo511Units)
{
    MKString s = WithCapacity(L"", 2000);
    std::wstring text511(511, L'a');
    s.Format(L"%s", text511.c_str());
    EXPECT_EQ(text511, Text(s));
    EXPECT_EQ(2000, s.GetCapacity());  // copied into the block it had

    std::wstring text512(512, L'b');
    s.Format(L"%s", text512.c_str());
    EXPECT_EQ(text512, Text(s));
    EXPECT_EQ(513, s.GetCapacity());

    s.Format(nullptr);
    EXPECT_EQ(MKString::EmptyChars(), s.GetText());
    EXPECT_EQ(L"7-x", Text(MKString::FromFormat(L"%d-%s", 7, L"x")));
}

TEST(String, FormatMayReadItsOwnCharacters)
{
    std::wstring long600(600, L'q');
    MKString s = WithCapacity(long600.c_str(), 2000);
    s.Format(L"<%s>", s.GetText());
    EXPECT_EQ(L"<" + long600 + L">", Text(s));

    MKString shortOne(L"abc");
    shortOne.Format(L"%s%s", shortOne.GetText(), shortOne.GetText());
    EXPECT_EQ(L"abcabc", Text(shortOne));
}

TEST(String, ReplaceNeverRescansInsertedText)
{
    MKString s(L"aaa");
    EXPECT_EQ(3, s.Replace(L"a", L"aa"));
    EXPECT_EQ(L"aaaaaa", Text(s));

    struct Case {
        const wchar_t* text;
        const wchar_t* find;
        const wchar_t* with;
        int count;
        const wchar_t* result;
    };
    const Case cases[] = {
        {L"abcabc", L"bc", L"x", 2, L"axax"},
        {L"abcabc", L"b", nullptr, 2, L"acac"},
        {L"aaaa", L"aa", L"b", 2, L"bb"},
        {L"aaa", L"aa", L"xyz", 1, L"xyza"},
        {L"a.b.c", L".", L"::", 2, L"a::b::c"},
        {L"abc", L"x", L"y", 0, L"abc"},
        {L"abc", L"", L"y", 0, L"abc"},
        {L"abc", nullptr, L"y", 0, L"abc"},
        {L"ab", L"abc", L"y", 0, L"ab"},
        {L"", L"a", L"b", 0, L""},
    };
    for (const Case& c : cases) {
        MKString t(c.text);
        MKString keep = t;
        EXPECT_EQ(c.count, t.Replace(c.find, c.with)) << c.text;
        EXPECT_EQ(c.result, Text(t)) << c.text;
        EXPECT_EQ(c.text, Text(keep)) << c.text;
    }

    MKString own(L"x-y");
    EXPECT_EQ(1, own.Replace(L"-", own.GetText()));
    EXPECT_EQ(L"xx-yy", Text(own));
    MKString roomy = WithCapacity(L"a-b", 10);
    const wchar_t* block = roomy.GetText();
    roomy.Replace(L"-", L"");
    EXPECT_EQ(block, roomy.GetText());  // shrinks in place
    EXPECT_EQ(L"ab", Text(roomy));
}

TEST(String, RemovalAndTrimming)
{
    MKString s(L"aab");
    EXPECT_EQ(2, s.RemoveChar(L'a'));
    EXPECT_EQ(L"b", Text(s));
    EXPECT_EQ(0, s.RemoveChar(0));

    struct Case {
        int start, count, newLength;
        const wchar_t* result;
    };
    const Case cases[] = {
        {1, 2, 3, L"aef"}, {-3, 2, 3, L"def"}, {4, 100, 4, L"acde"}, {5, 1, 5, L"acdef"}, {2, 0, 5, L"acdef"},
    };
    for (const Case& c : cases) {
        MKString t(L"acdef");
        EXPECT_EQ(c.newLength, t.Remove(c.start, c.count)) << c.start << "," << c.count;
        EXPECT_EQ(c.result, Text(t)) << c.start << "," << c.count;
    }

    MKString padded(L" \t ab c \r\n");
    padded.TrimRight();
    EXPECT_EQ(L" \t ab c", Text(padded));
    padded.TrimLeft();
    EXPECT_EQ(L"ab c", Text(padded));
    MKString slashes(L"a\\b\\\\");
    slashes.TrimRightChar(L'\\');
    EXPECT_EQ(L"a\\b", Text(slashes));
    MKString blank(L"   ");
    blank.TrimLeft();
    EXPECT_EQ(0, blank.GetLength());
}

TEST(String, CaseChangesTouchAsciiOnly)
{
    MKString s(L"AbC-\x00C9\x0130z");
    MKString lower = s.ToLower();
    EXPECT_EQ(L"abc-\x00C9\x0130z", Text(lower));
    EXPECT_EQ(L"AbC-\x00C9\x0130z", Text(s));
    MKString already(L"abc");
    MKString copy = already.ToLower();
    EXPECT_EQ(already.GetText(), copy.GetText());  // nothing to change: still shared
    EXPECT_TRUE(MKString(L"file.TXT").EndsWith(L".txt", true));
    EXPECT_FALSE(MKString(L"file.TXT").EndsWith(L".txt", false));
    EXPECT_FALSE(MKString(L"xt").EndsWith(L".txt", true));
    EXPECT_FALSE(MKString(L"x").EndsWith(nullptr, true));
}

TEST(String, SearchAndComparison)
{
    MKString s(L"abcabc");
    EXPECT_EQ(1, s.FindChar(L'b'));
    EXPECT_EQ(4, s.FindChar(L'b', 2));
    EXPECT_EQ(1, s.FindChar(L'b', -5));
    EXPECT_EQ(-1, s.FindChar(L'b', 6));
    EXPECT_EQ(-1, s.FindChar(0));
    EXPECT_EQ(3, s.Find(L"abc", 1));
    EXPECT_EQ(-1, s.Find(L"abcd"));
    EXPECT_EQ(-1, s.Find(L""));
    EXPECT_EQ(-1, s.Find(nullptr));
    EXPECT_EQ(4, s.ReverseFindChar(L'b'));
    EXPECT_EQ(1, s.ReverseFindCharFrom(L'b', 3));
    EXPECT_EQ(4, s.ReverseFindCharFrom(L'b', 100));
    EXPECT_EQ(-1, s.ReverseFindCharFrom(L'b', -1));
    EXPECT_TRUE(s.Equals(MKString(L"abcabc")));
    EXPECT_FALSE(s.Equals(MKString(L"abcab")));
    EXPECT_TRUE(s.EqualsText(L"abcabc"));
    EXPECT_FALSE(s.EqualsText(nullptr));
    EXPECT_TRUE(MKString(L"123456789012345").IsDigits());
    EXPECT_FALSE(MKString(L"1234567890123456").IsDigits());
    EXPECT_FALSE(MKString(L"").IsDigits());
    EXPECT_FALSE(MKString(L"12a").IsDigits());

    BSTR bstr = SysAllocString(L"xyzxyz");
    EXPECT_EQ(3, BstrFind(bstr, L"xy", 1));
    EXPECT_EQ(-1, BstrFind(nullptr, L"xy", 0));
    SysFreeString(bstr);
}

TEST(String, NewStringsFromStrings)
{
    MKString s(L"abcdef");
    EXPECT_EQ(L"cdef", Text(s.Substring(2, 100)));
    EXPECT_EQ(s.GetText(), s.Substring(0, 6).GetText());
    EXPECT_EQ(L"ab", Text(s.Substring(-1, 2)));
    EXPECT_EQ(0, s.Substring(7, 1).GetLength());
    EXPECT_EQ(0, s.Substring(6, 1).GetLength());
    EXPECT_EQ(0, s.Left(0).GetLength());
    EXPECT_EQ(L"abc", Text(s.Left(3)));
    EXPECT_EQ(s.GetText(), s.Left(10).GetText());
    EXPECT_EQ(L"ef", Text(s.Mid(4)));

    MKString empty;
    EXPECT_EQ(s.GetText(), MKString::Concat(empty, s).GetText());
    EXPECT_EQ(s.GetText(), MKString::Concat(s, empty).GetText());
    MKString joined = MKString::Concat(s, MKString(L"gh"));
    EXPECT_EQ(L"abcdefgh", Text(joined));
    EXPECT_EQ(9, joined.GetCapacity());
    EXPECT_EQ(L"abcdefxy", Text(s + L"xy"));
    EXPECT_EQ(s.GetText(), (s + L"").GetText());
    EXPECT_EQ(L"xyabcdef", Text(MKString::PrependText(L"xy", s)));
    EXPECT_EQ(L"abcdef!", Text(MKString::ConcatChar(s, L'!')));
    EXPECT_EQ(L"zzz", Text(MKString::MKStringFromRepeat(L'z', 3)));
    EXPECT_EQ(0, MKString::MKStringFromRepeat(L'z', -1).GetLength());
}

TEST(String, SplitUsesTheTokenizer)
{
    MKTOArray<MKString> parts;
    parts.Add(MKString(L"stale"));
    MKString(L"a;;b").Split(nullptr, false, parts);
    ASSERT_EQ(3, parts.GetCount());
    EXPECT_EQ(L"a", Text(parts[0]));
    EXPECT_EQ(0, parts[1].GetLength());
    EXPECT_EQ(L"b", Text(parts[2]));

    MKString(L"a;;b").Split(L";", true, parts);
    ASSERT_EQ(2, parts.GetCount());
    EXPECT_EQ(L"b", Text(parts[1]));

    MKString(L"c:\\x\\..\\y").Split(L"\\", false, parts);
    ASSERT_EQ(4, parts.GetCount());
    EXPECT_EQ(L"..", Text(parts[2]));
}

TEST(String, NumbersAndEncodings)
{
    EXPECT_EQ(L"-2147483648", Text(MKString::FromInt(INT32_MIN)));
    EXPECT_EQ(L"18446744073709551615", Text(MKString::FromUInt64(UINT64_MAX)));
    EXPECT_EQ(L"ff", Text(MKString::FromHex(255)));
    int value = 5;
    EXPECT_TRUE(MKString(L" 42").ToIntChecked(&value));
    EXPECT_EQ(42, value);
    EXPECT_FALSE(MKString(L"x").ToIntChecked(&value));
    EXPECT_EQ(0, value);

    MKString cut;
    cut.AssignUtf8("\xE2\x82", 2);
    EXPECT_EQ(L"?", Text(cut));
    EXPECT_EQ(L"\x00E9t\x00E9", Text(MKString::FromUtf8("\xC3\xA9t\xC3\xA9", 5)));

    MKString pair(L"a\xD83D\xDE00");
    MKByteArray bytes;
    EXPECT_EQ(7, pair.ToUtf8(bytes));
    EXPECT_EQ(8, bytes.GetCount());
    EXPECT_EQ(0, bytes[7]);
    EXPECT_TRUE(MKString::FromUtf8Array(bytes).Equals(pair));

    EXPECT_EQ(L"abc", Text(MKString::MKStringFromAnsi("abc")));
    EXPECT_EQ(0, MKString::MKStringFromAnsi(nullptr).GetLength());

    MKString text(L"hello");
    BSTR bstr = reinterpret_cast<BSTR>(text.ToBstr());
    EXPECT_EQ(5u, SysStringLen(bstr));
    EXPECT_STREQ(L"hello", bstr);
    SysFreeString(bstr);
}

TEST(String, ClearKeepsABlockThatIsAlreadyEmpty)
{
    MKString s = WithCapacity(L"", 8);
    const wchar_t* block = s.GetText();
    s.Clear();
    EXPECT_EQ(block, s.GetText());
    MKString t(L"x");
    t.Clear();
    EXPECT_EQ(MKString::EmptyChars(), t.GetText());
}

TEST(OptionalString, AbsentUntilSet)
{
    MKOptional<MKString> a;
    EXPECT_FALSE(a.IsPresent());
    EXPECT_EQ(0, a.GetValue().GetLength());
    a.Set(MKString(L""));
    EXPECT_TRUE(a.IsPresent());
    MKOptional<MKString> b;
    b.Set(MKString(L"v"));
    a = b;
    EXPECT_TRUE(a.IsPresent());
    EXPECT_EQ(L"v", Text(a.GetValue()));
}

TEST(OptionalValue, ClearMakesItAbsentWithTheDefaultValue)
{
    MKOptional<int32_t> number;
    EXPECT_EQ(0, number.GetValue());
    MKOptional<MKVersion> version;
    version.Set(MKVersion(14, 0, 4760, 1000));
    version.Clear();
    EXPECT_FALSE(version.IsPresent());
    EXPECT_EQ(-1, version.GetValue().build);
}

}  // namespace
