#include "setup/SetupTempFolder.h"

#include "fixtures/Fixtures.h"
#include "setup/SetupTestSupport.h"

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>
#include <gtest/gtest.h>

namespace {

TEST(SetupFolderName, WritesTheTickInBase32LeastSignificantDigitFirst)
{
    EXPECT_STREQ(SetupFolderName(0).GetText(), L"vl0.tmp");
    EXPECT_STREQ(SetupFolderName(31).GetText(), L"vlV.tmp");
    EXPECT_STREQ(SetupFolderName(32).GetText(), L"vl01.tmp");
    EXPECT_STREQ(SetupFolderName(32 * 32 * 5 + 32 * 10 + 17).GetText(), L"vlHA5.tmp");
    EXPECT_STREQ(SetupFolderName(0xFFFFFFFF).GetText(), L"vlVVVVVV3.tmp");
}

TEST(CreateSetupFolderIn, CountsUpPastTakenNamesWithOrWithoutATrailingSeparator)
{
    ScratchFolder temp;
    const DWORD tick = 1000;
    ASSERT_TRUE(CreateDirectoryW(temp.File(SetupFolderName(tick).GetText()).c_str(), nullptr));
    HANDLE file = CreateFileW(temp.File(SetupFolderName(tick + 1).GetText()).c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_NEW, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);

    MKString first;
    ASSERT_EQ(CreateSetupFolderIn(temp.path().c_str(), tick, first), 0);
    EXPECT_EQ(std::wstring(first.GetText()), temp.File(SetupFolderName(tick + 2).GetText()));
    // Two setups in the same millisecond: the second takes the next name.
    MKString second;
    ASSERT_EQ(CreateSetupFolderIn((temp.path() + L"\\").c_str(), tick, second), 0);
    EXPECT_EQ(std::wstring(second.GetText()), temp.File(SetupFolderName(tick + 3).GetText()));
    EXPECT_TRUE(IsEmptyFolder(first.GetText()));
    EXPECT_TRUE(IsEmptyFolder(second.GetText()));
}

TEST(CreateSetupFolderIn, FailsWhereNoFolderCanBeMade)
{
    MKString folder;
    EXPECT_EQ(CreateSetupFolderIn(L"C:\\no such folder\\below", 5, folder), kTempFolderNotCreated);
    EXPECT_TRUE(folder.IsEmpty());
}

// The SID of this process's user, as text.
std::wstring CurrentUserSid()
{
    HANDLE token = nullptr;
    BYTE buffer[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
    DWORD size = 0;
    std::wstring text;
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token) &&
        GetTokenInformation(token, TokenUser, buffer, sizeof(buffer), &size)) {
        wchar_t* sid = nullptr;
        if (ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, &sid)) {
            text = sid;
            LocalFree(sid);
        }
    }
    if (token)
        CloseHandle(token);
    return text;
}

// Wine renders a folder's security from its Unix mode, which adds LocalSystem
// beside the owner; a folder made without our security also admits Everyone.
TEST(CreateSetupFolderIn, OnlyTheCurrentUserMayUseTheFolder)
{
    ScratchFolder temp;
    MKString folder;
    ASSERT_EQ(CreateSetupFolderIn(temp.path().c_str(), 77, folder), 0);
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_EQ(GetNamedSecurityInfoW(folder.GetText(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                    &dacl, nullptr, &descriptor),
              DWORD(ERROR_SUCCESS));
    ASSERT_NE(dacl, nullptr);
    std::wstring user = CurrentUserSid();
    bool userHasFullAccess = false;
    for (int i = 0; i < dacl->AceCount; ++i) {
        ACCESS_ALLOWED_ACE* ace = nullptr;
        ASSERT_TRUE(GetAce(dacl, i, reinterpret_cast<void**>(&ace)));
        wchar_t* text = nullptr;
        ASSERT_TRUE(ConvertSidToStringSidW(&ace->SidStart, &text));
        std::wstring sid = text;
        LocalFree(text);
        if (ace->Header.AceType != ACCESS_ALLOWED_ACE_TYPE)
            continue;
        EXPECT_TRUE(sid == user || sid == L"S-1-5-18") << sid;
        if (sid == user && (ace->Mask & FILE_ALL_ACCESS) == FILE_ALL_ACCESS)
            userHasFullAccess = true;
    }
    EXPECT_TRUE(userHasFullAccess);
    LocalFree(descriptor);
}

TEST(MakeSetupTempFolder, MakesItInTheUsersTemporaryFolder)
{
    ScratchFolder temp;
    TempVariables variables(temp.path());
    MKString folder;
    ASSERT_EQ(MakeSetupTempFolder(folder), 0);
    std::wstring made = folder.GetText();
    EXPECT_EQ(made.rfind(temp.path() + L"\\vl", 0), 0u) << made;
    EXPECT_TRUE(IsEmptyFolder(made));
}

TEST(MakeSetupTempFolder, RefusesATemporaryPathTooLongToHold)
{
    TempVariables variables(L"C:\\" + std::wstring(320, L'x'));
    MKString folder;
    EXPECT_EQ(MakeSetupTempFolder(folder), kNoTempPath);
}

}  // namespace
