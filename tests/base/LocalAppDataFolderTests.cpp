#include <gtest/gtest.h>

#include <windows.h>

#include "base/MKLocalAppDataFolder.h"

namespace {

TEST(LocalAppDataFolder, IsAnExistingFolderWithTrailingSeparator)
{
    MKString folder = MKGetLocalAppDataFolder();
    ASSERT_FALSE(folder.IsEmpty());
    EXPECT_EQ(folder[folder.GetLength() - 1], L'\\');
    DWORD attributes = GetFileAttributesW(folder.GetText());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace
