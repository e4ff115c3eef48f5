// Where the loader finds the main add-in: the folder of its own path.
#include "companions/loader/LoaderPath.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(LoaderPathTest, TheFolderEndsAfterTheLastSeparatorBeyondTheRoot)
{
    struct Case {
        const wchar_t* path;
        int end;
    };
    const Case cases[] = {
        {L"C:\\Program Files\\Vistello\\VistelloLoaderAddIn.dll", 26},
        {L"C:/Program Files/Vistello/VistelloLoaderAddIn.dll", 26},
        {L"\\\\server\\share\\folder\\VistelloLoaderAddIn.dll", 22},
        {L"\\\\server\\share\\VistelloLoaderAddIn.dll", 15},
        {L"\\\\server\\share", 0},
        {L"C:\\VistelloLoaderAddIn.dll", 3},
        {L"\\VistelloLoaderAddIn.dll", 1},
        {L"C:", 0},
        {L"C:\\", 0},
        {L"VistelloLoaderAddIn.dll", 0},
        {L"", 0},
    };
    for (const Case& c : cases) {
        std::wstring path = c.path;
        EXPECT_EQ(LoaderFolderEnd(path.c_str(), static_cast<int>(path.size())), c.end) << path;
    }
}

TEST(LoaderPathTest, TheSiblingPathIsRefusedWhenItDoesNotFit)
{
    const wchar_t loader[] = L"C:\\Vistello\\VistelloLoaderAddIn.dll";
    const int length = static_cast<int>(wcslen(loader));
    const std::wstring expected = L"C:\\Vistello\\VistelloAddIn.dll";
    wchar_t out[64];
    wmemset(out, L'#', 64);
    ASSERT_TRUE(LoaderSiblingPath(loader, length, L"VistelloAddIn.dll", out, static_cast<int>(expected.size()) + 1));
    EXPECT_EQ(std::wstring(out), expected);

    // One character short of the terminator: nothing is written at all.
    wmemset(out, L'#', 64);
    EXPECT_FALSE(LoaderSiblingPath(loader, length, L"VistelloAddIn.dll", out, static_cast<int>(expected.size())));
    EXPECT_EQ(out[0], L'#');
    EXPECT_FALSE(LoaderSiblingPath(L"C:", 2, L"VistelloAddIn.dll", out, 64));
}

}  // namespace
