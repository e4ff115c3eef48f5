#include "base/MKPath.h"

#include "BaseTestSupport.h"
#include "tests/fixtures/Fixtures.h"

#include <gtest/gtest.h>

#include <string>
#include <windows.h>

namespace {

const wchar_t* kFails = nullptr;

struct NormalizeCase {
    const wchar_t* input;
    const wchar_t* expected;  // kFails when the path is refused
};

void CheckNormalize(const NormalizeCase* cases, size_t n, bool fullCheck)
{
    for (size_t i = 0; i < n; ++i) {
        const NormalizeCase& c = cases[i];
        MKString out(L"untouched");
        bool ok = MKPathNormalize(MKString(c.input), out, fullCheck);
        if (!c.expected) {
            EXPECT_FALSE(ok) << c.input << " gave " << out.GetText();
            EXPECT_EQ(L"untouched", Text(out)) << c.input;
        } else {
            EXPECT_TRUE(ok) << c.input;
            EXPECT_EQ(std::wstring(c.expected), Text(out)) << c.input;
        }
    }
}

std::wstring CurrentDirectory()
{
    wchar_t buffer[MAX_PATH];
    DWORD n = GetCurrentDirectoryW(MAX_PATH, buffer);
    std::wstring folder(buffer, n);
    if (!folder.empty() && folder.back() != L'\\')
        folder += L'\\';
    return folder;
}

TEST(PathNormalize, FullCheckTable)
{
    std::wstring longName = L"C:\\" + std::wstring(257, L'a');  // 260 characters
    std::wstring longestName = L"C:\\" + std::wstring(256, L'a');
    const NormalizeCase cases[] = {
        {L"C:\\a\\.\\b\\..\\c  ", L"C:\\a\\c"},
        {L"C:/a//b/", L"C:\\a\\b\\"},
        {L"C:\\a\\b. \\c.", L"C:\\a\\b\\c"},
        {L"C:\\a\\b...\\c", L"C:\\a\\b\\c"},
        {L"C:\\a\\...\\c", L"C:\\c"},
        {L"C:\\a\\.. \\c", L"C:\\c"},
        {L"C:\\a\\ \\c", L"C:\\a\\c"},
        {L"C:\\a b\\c.d e", L"C:\\a b\\c.d e"},
        {L"  C:\\x", L"C:\\x"},
        {L"C:\\x\t\r\n ", L"C:\\x"},
        {L"\\\\server\\share\\x", L"\\\\server\\share\\x"},
        {longestName.c_str(), longestName.c_str()},
        {longName.c_str(), kFails},
        {L"C:\\a|b", kFails},
        {L"C:\\a\"b", kFails},
        {L"C:\\a<b", kFails},
        {L"C:\\a\x01", kFails},
        {L"\\\\server", kFails},
        {L"\\\\server\\", kFails},
        {L"\\\\", kFails},
        {L"http://example.com/x", kFails},
        {L"FILE:C:\\x", kFails},
        {L"\\\\?\\GlobalRoot\\Device", kFails},
        {L"C:...", kFails},
        {L"C :\\x", kFails},
        {L":x", kFails},
        {L"C.:\\x", kFails},
        {L"C:\\a\\. .\\b", kFails},
        {L"C:\\a\\ .\\b", kFails},
        {L"C:\\a\\.. .\\b", kFails},
        {L"", kFails},
        {L"   ", kFails},
    };
    CheckNormalize(cases, sizeof(cases) / sizeof(cases[0]), true);
}

TEST(PathNormalize, LooseKeepsDotsAndUrls)
{
    const NormalizeCase cases[] = {
        {L"C:\\a\\.\\b\\..\\c", L"C:\\a\\.\\b\\..\\c"},
        {L"a//b\\\\c", L"a\\b\\c"},
        {L"a\\... \\b", L"a\\..\\b"},
        {L"a\\  \\b", L"a\\b"},
        {L"a.\\b ", L"a\\b"},
        {L".", L"."},
        {L"..", L".."},
        {L"\\x", L"\\x"},
        {L"/x", L"\\x"},
        {L"\\\\server", L"\\\\server"},
        {L"///server//share", L"\\\\server\\share"},
        {L" \\\\server\\share", L"\\\\server\\share"},
        {L"http://host/x", L"http:\\host\\x"},
        {L"a:b:c", L"a:b:c"},
        {L"\\\\?\\globalroot\\x", kFails},
        {L"C:\\a|b", L"C:\\a|b"},
        {L"C:\\a\\. .\\b", kFails},
        {L"C:...", kFails},
        {L"", kFails},
    };
    CheckNormalize(cases, sizeof(cases) / sizeof(cases[0]), false);
}

TEST(PathNormalize, RelativePathsBecomeFull)
{
    MKString out;
    ASSERT_TRUE(MKPathNormalize(MKString(L"x\\.\\y"), out, true));
    EXPECT_EQ(CurrentDirectory() + L"x\\y", Text(out));
}

TEST(PathNormalize, UnchangedResultSharesTheInput)
{
    MKString input(L"C:\\plain\\path.txt");
    MKString out;
    ASSERT_TRUE(MKPathNormalize(input, out, true));
    EXPECT_EQ(input.GetText(), out.GetText());
}

TEST(PathNormalize, ShortNamesBecomeLong)
{
    ScratchFolder scratch;
    std::wstring folder = scratch.File(L"A Rather Long Folder Name");
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    std::wstring file = folder + L"\\Another long file name.text";
    HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    CloseHandle(h);
    wchar_t shortFolder[MAX_PATH];
    ASSERT_NE(0u, GetShortPathNameW(folder.c_str(), shortFolder, MAX_PATH));
    std::wstring shortText = shortFolder;
    ASSERT_NE(std::wstring::npos, shortText.find(L'~'));
    wchar_t longFolder[MAX_PATH];
    ASSERT_NE(0u, GetLongPathNameW(shortFolder, longFolder, MAX_PATH));

    // A '~' component in the middle, at the end, and in front of a name that
    // does not exist yet.
    wchar_t shortFile[MAX_PATH];
    ASSERT_NE(0u, GetShortPathNameW(file.c_str(), shortFile, MAX_PATH));
    MKString out;
    ASSERT_TRUE(MKPathNormalize(MKString(shortFile), out, true));
    EXPECT_EQ(std::wstring(longFolder) + L"\\Another long file name.text", Text(out));
    ASSERT_TRUE(MKPathNormalize(MKString(shortFolder), out, true));
    EXPECT_EQ(std::wstring(longFolder), Text(out));
    ASSERT_TRUE(MKPathNormalize(MKString((shortText + L"\\new~1.txt").c_str()), out, true));
    EXPECT_EQ(std::wstring(longFolder) + L"\\new~1.txt", Text(out));
}

TEST(PathText, RootLengthAndRoot)
{
    struct {
        const wchar_t* path;
        int length;
    } cases[] = {
        {L"\\\\server\\share\\dir", 14}, {L"\\\\server\\share", 14}, {L"//server/share/x", 14}, {L"C:", 2},
        {L"C:\\dir", 3},                 {L"C:dir", 2},              {L"\\dir", 1},            {L"dir", 0},
        {L"", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.length, MKPathRootLength(MKString(c.path))) << c.path;
    EXPECT_EQ(L"\\\\server\\share", Text(MKPathRoot(MKString(L"//server//share/dir"))));
    EXPECT_EQ(L"C:\\", Text(MKPathRoot(MKString(L"C:/x/y"))));
}

TEST(PathText, NamesAndExtensions)
{
    struct {
        const wchar_t* path;
        const wchar_t* fileName;
        const wchar_t* extension;
        const wchar_t* stem;
    } cases[] = {
        {L"a.b\\c", L"c", L"", L"c"},
        {L"file.", L"file.", L"", L"file"},
        {L"x.tar.gz", L"x.tar.gz", L".gz", L"x.tar"},
        {L"C:\\dir/name.txt", L"name.txt", L".txt", L"name"},
        {L"C:name", L"name", L"", L"name"},
        {L".profile", L".profile", L".profile", L""},
        {L"dir\\", L"", L"", L""},
    };
    for (const auto& c : cases) {
        MKString path(c.path);
        EXPECT_EQ(c.fileName, Text(MKPathFileName(path))) << c.path;
        EXPECT_EQ(c.extension, Text(MKPathExtension(path))) << c.path;
        EXPECT_EQ(c.stem, Text(MKPathStem(path))) << c.path;
    }
}

TEST(PathText, Directory)
{
    struct {
        const wchar_t* path;
        const wchar_t* directory;
    } cases[] = {
        {L"C:\\a\\b.txt", L"C:\\a"}, {L"C:\\a", L"C:\\"}, {L"C:\\", L""},           {L"a/b//c", L"a\\b"},
        {L"a", L""},                 {L"\\a", L"\\"},     {L"\\\\srv\\share", L""}, {L"\\\\srv\\share\\x", L"\\\\srv\\share"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.directory, Text(MKPathDirectory(MKString(c.path)))) << c.path;
}

TEST(PathText, ChangeExtension)
{
    struct {
        const wchar_t* path;
        const wchar_t* extension;
        const wchar_t* result;
    } cases[] = {
        {L"a\\b.txt", L"png", L"a\\b.png"}, {L"a\\b.txt", L".png", L"a\\b.png"}, {L"a\\b", L"png", L"a\\b.png"},
        {L"a\\b.txt", nullptr, L"a\\b"},     {L"a\\b.txt", L"", L"a\\b."},        {L"a.d\\b", L"x", L"a.d\\b.x"},
        {L"", L"x", L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.result, Text(MKPathChangeExtension(MKString(c.path), c.extension))) << c.path;
}

TEST(PathText, Combine)
{
    struct {
        const wchar_t* a;
        const wchar_t* b;
        const wchar_t* result;
    } cases[] = {
        {L"C:", L"x", L"C:x"},    {L"a", L"\\b", L"\\b"},       {L"a", L"b", L"a\\b"},     {L"a\\", L"b", L"a\\b"},
        {L"a/", L"b", L"a/b"},    {L"", L"b", L"b"},            {L"a", L"", L"a"},         {L"a", L"D:\\b", L"D:\\b"},
        {L"a", L"b|c", L"a\\b|c"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.result, Text(MKPathCombine(MKString(c.a), MKString(c.b)))) << c.a << L" + " << c.b;
}

TEST(PathText, AddTrailingSeparator)
{
    struct {
        const wchar_t* path;
        const wchar_t* result;
        bool changed;
    } cases[] = {
        {L"C:/a/b", L"C:\\a\\b\\", true},
        {L"C:\\a\\", L"C:\\a\\", false},
        {L"C:\\\\a\\\\", L"C:\\a\\", true},
        {L"a/", L"a\\", false},
        {L"", L"", false},
        // The two separators that open a UNC path are not a doubled one.
        {L"\\\\server\\share", L"\\\\server\\share\\", true},
        {L"//server//share/", L"\\\\server\\share\\", true},
        {L"\\\\?\\C:\\a\\", L"\\\\?\\C:\\a\\", false},
    };
    for (const auto& c : cases) {
        MKString path(c.path);
        EXPECT_EQ(c.changed, MKPathAddTrailingSeparator(path)) << c.path;
        EXPECT_EQ(c.result, Text(path)) << c.path;
    }
}

TEST(PathText, Split)
{
    struct {
        const wchar_t* path;
        bool ok;
        const wchar_t* drive;
        const wchar_t* folder;
        const wchar_t* name;
        const wchar_t* extension;
    } cases[] = {
        {L"C:\\dir\\file.txt", true, L"C:", L"\\dir\\", L"file", L".txt"},
        {L".profile", true, L"", L"", L".profile", L""},
        {L"dir/a.b.c", true, L"", L"dir/", L"a.b", L".c"},
        {L"a.d\\name", true, L"", L"a.d\\", L"name", L""},
        {L"C:\\dir\\", false, L"C:", L"\\dir\\", L"", L""},
        {L":x", false, L"", L"", L"", L""},
        {L"ab:x", false, L"", L"", L"", L""},
    };
    for (const auto& c : cases) {
        MKString drive(L"?"), folder(L"?"), name(L"?"), extension(L"?");
        EXPECT_EQ(c.ok, MKPathSplit(MKString(c.path), drive, folder, name, extension)) << c.path;
        EXPECT_EQ(c.drive, Text(drive)) << c.path;
        EXPECT_EQ(c.folder, Text(folder)) << c.path;
        EXPECT_EQ(c.name, Text(name)) << c.path;
        EXPECT_EQ(c.extension, Text(extension)) << c.path;
    }
    EXPECT_EQ(L".txt", Text(MKPathSplitExtension(MKString(L"C:\\d\\f.txt"))));
    EXPECT_EQ(L"", Text(MKPathSplitExtension(MKString(L"ab:f.txt"))));
}

TEST(PathText, ValidCharsAndAbsolute)
{
    EXPECT_TRUE(MKPathHasValidChars(MKString(L"C:\\a b\\c.txt")));
    EXPECT_FALSE(MKPathHasValidChars(MKString(L"a\tb")));
    EXPECT_TRUE(MKPathIsAbsolute(MKString(L"\\x")));
    EXPECT_TRUE(MKPathIsAbsolute(MKString(L"/x")));
    EXPECT_TRUE(MKPathIsAbsolute(MKString(L"C:x")));
    EXPECT_FALSE(MKPathIsAbsolute(MKString(L"x\\y")));
    EXPECT_FALSE(MKPathIsAbsolute(MKString(L"\\x>")));
}

}  // namespace
