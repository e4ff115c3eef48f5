#include <gtest/gtest.h>

#include <string>

#include "base/MKDynLib.h"

namespace {

TEST(DynLib, LoadsLooksUpAndFrees)
{
    MKDynLib library;
    EXPECT_FALSE(library.Load(nullptr));
    EXPECT_EQ(library.GetProc("GetFileVersionInfoSizeW"), nullptr);
    ASSERT_TRUE(library.Load(L"version.dll"));
    EXPECT_NE(library.GetProc("GetFileVersionInfoSizeW"), nullptr);
    EXPECT_EQ(library.GetProc(""), nullptr);
    EXPECT_EQ(library.GetProc("NoSuchExport"), nullptr);
    EXPECT_TRUE(library.Free());
    EXPECT_FALSE(library.IsLoaded());
    EXPECT_TRUE(library.Free());
}

TEST(DynLib, WideNameLookupAppendsW)
{
    MKDynLib library;
    ASSERT_TRUE(library.Load(L"version.dll"));
    EXPECT_EQ(library.GetProcW("VerQueryValue"), library.GetProc("VerQueryValueW"));
    EXPECT_NE(library.GetProcW("VerQueryValue"), nullptr);
    EXPECT_EQ(library.GetProcW(""), nullptr);
    EXPECT_EQ(library.GetProcW(std::string(296, 'a').c_str()), nullptr);
    EXPECT_EQ(library.GetProcW(std::string(295, 'a').c_str()), nullptr);  // looked up, not found
}

TEST(DynLib, CastProcTypesTheExport)
{
    MKDynLib library;
    ASSERT_TRUE(library.Load(L"version.dll"));
    DWORD(WINAPI * sizeOf)(LPCWSTR, LPDWORD) = nullptr;
    ASSERT_TRUE(MKCastProc(library.GetProcW("GetFileVersionInfoSize"), sizeOf));
    DWORD handle = 1;
    EXPECT_EQ(0u, sizeOf(L"Z:\\no\\such\\file.dll", &handle));
    EXPECT_FALSE(MKCastProc(library.GetProc("NoSuchExport"), sizeOf));
    EXPECT_EQ(nullptr, sizeOf);
}

TEST(DynLib, LoadProcLoadsThenLooksUp)
{
    typedef DWORD(WINAPI * SizeFunction)(LPCWSTR, LPDWORD);
    MKDynLib library;
    EXPECT_NE(nullptr, MKLoadProc<SizeFunction>(library, L"version.dll", "GetFileVersionInfoSizeW"));
    EXPECT_TRUE(library.IsLoaded());
    EXPECT_EQ(nullptr, MKLoadProc<SizeFunction>(library, L"version.dll", "NoSuchExport"));
    EXPECT_EQ(nullptr, MKLoadProc<SizeFunction>(library, L"no-such-library.dll", "GetFileVersionInfoSizeW"));
    EXPECT_FALSE(library.IsLoaded());
}

}  // namespace
