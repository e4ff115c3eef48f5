#include <gtest/gtest.h>

#include <windows.h>
#include <sddl.h>

#include <string>
#include <vector>

#include "base/MKSharedSecurity.h"

namespace {

struct Ace {
    std::wstring sid;
    DWORD mask;
    BYTE flags;
};

// Wine does not enforce access lists, so the descriptor's contents are what
// can be checked.
std::vector<Ace> DaclOf(SECURITY_ATTRIBUTES* attributes)
{
    std::vector<Ace> aces;
    BOOL present = FALSE, defaulted = TRUE;
    PACL acl = nullptr;
    EXPECT_TRUE(GetSecurityDescriptorDacl(attributes->lpSecurityDescriptor, &present, &acl, &defaulted));
    EXPECT_TRUE(present);
    EXPECT_FALSE(defaulted);
    if (!acl)
        return aces;
    for (DWORD i = 0; i < acl->AceCount; ++i) {
        ACCESS_ALLOWED_ACE* ace = nullptr;
        if (!GetAce(acl, i, reinterpret_cast<void**>(&ace)))
            break;
        EXPECT_EQ(ace->Header.AceType, ACCESS_ALLOWED_ACE_TYPE);
        LPWSTR text = nullptr;
        ConvertSidToStringSidW(&ace->SidStart, &text);
        aces.push_back({text ? text : L"?", ace->Mask, ace->Header.AceFlags});
        LocalFree(text);
    }
    return aces;
}

TEST(SharedSecurity, GrantsFullAccessToFourGroupsInBothVariants)
{
    MKSharedSecurity security;
    ASSERT_TRUE(security.Initialize());
    EXPECT_TRUE(security.Initialize());
    const wchar_t* expected[] = {L"S-1-5-18", L"S-1-5-32-544", L"S-1-5-32-545", L"S-1-1-0"};
    struct Variant {
        SECURITY_ATTRIBUTES* attributes;
        BYTE flags;
    } variants[] = {
        {security.Inheritable(), OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE},
        {security.NonInheritable(), 0},
    };
    for (const Variant& variant : variants) {
        ASSERT_NE(variant.attributes, nullptr);
        EXPECT_EQ(variant.attributes->nLength, 12u);
        EXPECT_FALSE(variant.attributes->bInheritHandle);
        std::vector<Ace> aces = DaclOf(variant.attributes);
        ASSERT_EQ(aces.size(), 4u);
        for (size_t i = 0; i < aces.size(); ++i) {
            EXPECT_EQ(aces[i].sid, expected[i]);
            EXPECT_EQ(aces[i].mask, 0x1F01FFu);
            EXPECT_EQ(aces[i].flags, variant.flags);
        }
    }
}

TEST(SharedSecurity, SwitchedOffGivesNoAttributes)
{
    MKSharedSecurity::SetEnabledByDefault(false);
    MKSharedSecurity security;
    MKSharedSecurity::SetEnabledByDefault(true);
    EXPECT_TRUE(security.Initialize());
    EXPECT_EQ(security.Inheritable(), nullptr);
    EXPECT_EQ(security.NonInheritable(), nullptr);
}

TEST(SharedSecurity, GlobalInstanceLivesFromCreateToDestroy)
{
    ASSERT_TRUE(MKSharedSecurity::CreateGlobal());
    ASSERT_NE(MKSharedSecurity::Global(), nullptr);
    EXPECT_NE(MKSharedSecurity::Global()->Inheritable(), nullptr);
    MKSharedSecurity::DestroyGlobal();
    EXPECT_EQ(MKSharedSecurity::Global(), nullptr);
}

TEST(SecurityAttributes, NullAclIsRefused)
{
    MKSecurityAttributes attributes;
    EXPECT_FALSE(attributes.Init(nullptr));
    EXPECT_EQ(attributes.Get(), nullptr);
}

}  // namespace
