#include "addin/core/OfficeAddInKeys.h"

#include "base/MKRegKey.h"

#include <gtest/gtest.h>

#include <aclapi.h>
#include <windows.h>

namespace {

const wchar_t kScratch[] = L"Software\\VistelloOfficeAddInKeysTests";
const wchar_t kAddIns[] = L"VirtualStore\\MACHINE\\SOFTWARE\\Microsoft\\Office\\PowerPoint\\Addins\\";

// A classes root of our own under HKEY_CURRENT_USER, holding virtualised
// copies of two add-ins' entries.
class VirtualStoreCopy : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegDeleteTreeW(HKEY_CURRENT_USER, kScratch);
        HKEY handle;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, kScratch, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                                 &handle, nullptr));
        RegCloseKey(handle);
        m_root = MKRegOpenSoftwareKey(MKString(L"VistelloOfficeAddInKeysTests"), true);
        ASSERT_TRUE(m_root);
        MKRegKey mine = m_root.CreateSubKey(MKString::Concat(MKString(kAddIns), MKString(L"My.AddIn")));
        ASSERT_TRUE(mine);
        ASSERT_TRUE(mine.SetDword(L"LoadBehavior", 3));
        ASSERT_TRUE(mine.CreateSubKey(MKString(L"Nested")));
        ASSERT_TRUE(m_root.CreateSubKey(MKString::Concat(MKString(kAddIns), MKString(L"Other.AddIn"))));
    }
    void TearDown() override
    {
        m_root.Release();
        RegDeleteTreeW(HKEY_CURRENT_USER, kScratch);
    }
    bool Exists(const wchar_t* addIn) const
    {
        return m_root.SubKeyExists(MKString::Concat(MKString(kAddIns), MKString(addIn)));
    }

    MKRegKey m_root;
};

TEST_F(VirtualStoreCopy, RemovesOnlyTheNamedAddIn)
{
    EXPECT_TRUE(OfficeAddInKeys::RemoveVirtualStoreCopy(L"PowerPoint", MKString(L"My.AddIn"), m_root));
    EXPECT_FALSE(Exists(L"My.AddIn"));
    EXPECT_TRUE(Exists(L"Other.AddIn"));
}

TEST_F(VirtualStoreCopy, NothingToRemoveIsSuccess)
{
    ASSERT_TRUE(OfficeAddInKeys::RemoveVirtualStoreCopy(L"PowerPoint", MKString(L"My.AddIn"), m_root));
    EXPECT_TRUE(OfficeAddInKeys::RemoveVirtualStoreCopy(L"PowerPoint", MKString(L"My.AddIn"), m_root));
    EXPECT_TRUE(OfficeAddInKeys::RemoveVirtualStoreCopy(L"Word", MKString(L"Other.AddIn"), m_root));
    EXPECT_TRUE(OfficeAddInKeys::RemoveVirtualStoreCopy(L"PowerPoint", MKString(L"Other.AddIn"), MKRegKey()));
    EXPECT_TRUE(Exists(L"Other.AddIn"));
}

TEST_F(VirtualStoreCopy, ACopyThatMayNotBeDeletedIsAFailure)
{
    HKEY locked;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(m_root.GetHandle(), (std::wstring(kAddIns) + L"Other.AddIn").c_str(), 0,
                                           KEY_ALL_ACCESS, &locked));
    ACL empty;
    ASSERT_TRUE(InitializeAcl(&empty, sizeof(empty), ACL_REVISION));
    ASSERT_EQ(ERROR_SUCCESS,
              SetSecurityInfo(locked, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr, &empty, nullptr));
    EXPECT_FALSE(OfficeAddInKeys::RemoveVirtualStoreCopy(L"PowerPoint", MKString(L"Other.AddIn"), m_root));
    ASSERT_EQ(ERROR_SUCCESS,
              SetSecurityInfo(locked, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr, nullptr, nullptr));
    RegCloseKey(locked);
}

}  // namespace
