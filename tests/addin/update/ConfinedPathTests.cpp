// Which absolute paths count as inside an installation folder: the journal's
// paths come from a folder every user may write, so anything written another
// way than the folder's own full form is refused, never interpreted.
#include "addin/update/ConfinedPath.h"

#include <gtest/gtest.h>

namespace {

TEST(IsPathInsideFolderTest, OnlyPathsBelowTheFolderInItsOwnFormAreInside)
{
    struct Case {
        const wchar_t* path;
        bool inside;
    };
    // The folder is given with a trailing separator; its full form has none.
    const wchar_t folder[] = L"C:\\Program Files\\Vistello\\";
    const Case cases[] = {
        {L"C:\\Program Files\\Vistello\\a.dll", true},
        {L"c:\\PROGRAM FILES\\vistello\\Sub\\a.dll", true},
        {L"C:\\Program Files\\Vistello/sub/a.dll", true},
        {L"C:\\Program Files\\Vistello\\.\\a.dll", true},
        {L"C:\\Program Files\\Vistello", false},
        {L"C:\\Program Files\\Vistello\\", false},
        {L"C:\\Program Files\\Vistello\\.", false},
        {L"C:\\Program Files\\Vistello\\.\\.\\", false},
        {L"C:\\Program Files\\Vistello2\\a.dll", false},
        {L"C:\\Program Files\\Vistello\\..\\a.dll", false},
        {L"C:\\Program Files\\Vistello\\sub\\..\\..\\a.dll", false},
        {L"C:\\Program Files\\Vistello\\.. \\a.dll", false},
        {L"C:\\Program Files\\Vistello\\\\a.dll", false},
        {L"C:\\Program Files\\Vistello\\a.dll:stream", false},
        {L"C:/Program Files/Vistello/a.dll", false},
        {L"C:\\PROGRA~1\\Vistello\\a.dll", false},
        {L"\\\\?\\C:\\Program Files\\Vistello\\a.dll", false},
        {L"\\\\.\\C:\\Program Files\\Vistello\\a.dll", false},
        {L"D:\\Program Files\\Vistello\\a.dll", false},
        {L"Vistello\\a.dll", false},
        {L"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsPathInsideFolder(c.path, folder), c.inside) << c.path;
}

}  // namespace
