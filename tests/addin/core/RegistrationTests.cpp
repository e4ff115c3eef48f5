// Registration of the built library with Wine's regsvr32, checked from outside
// with reg.exe, and the Office add-in entries written and removed through the
// core's own classes.
#include "AddInTestSupport.h"
#include "fixtures/ChildProcess.h"

#include "addin/core/ComClassRegistry.h"
#include "addin/core/OfficeAddInKeys.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

const wchar_t kClassKey[] = L"HKCR\\CLSID\\{72C90439-0243-496A-9F40-22BE2B131CA1}";
const wchar_t kProgIdKey[] = L"HKCR\\Vistello.AddIn";
const wchar_t kUserEntryKey[] = L"HKCU\\Software\\Microsoft\\Office\\PowerPoint\\AddIns\\Vistello.AddIn";
const wchar_t kMachineEntryKey[] = L"HKLM\\SOFTWARE\\Microsoft\\Office\\PowerPoint\\AddIns\\Vistello.AddIn";

// Hives of other users as HKEY_USERS shows them while they are logged on.
const wchar_t kOrdinaryUser[] = L"S-1-5-21-7-8-9-1001";
const wchar_t kBuiltInAdministrator[] = L"S-1-5-21-7-8-9-500";
const wchar_t kVirtualStoreEntry[] =
    L"VirtualStore\\MACHINE\\SOFTWARE\\Microsoft\\Office\\PowerPoint\\Addins\\Vistello.AddIn";

std::wstring HiveEntry(const wchar_t* hive)
{
    return std::wstring(hive) + L"\\" + kUserEntry;
}

std::wstring HiveClassesCopy(const wchar_t* hive)
{
    return std::wstring(hive) + L"_Classes\\" + kVirtualStoreEntry;
}

// Every place an earlier installation or another user may have left an entry.
void WriteStaleEntries()
{
    WriteDword(HKEY_LOCAL_MACHINE, kMachineEntry, L"LoadBehavior", 2);
    WriteDword(HKEY_USERS, HiveEntry(kOrdinaryUser), L"LoadBehavior", 3);
    WriteDword(HKEY_USERS, HiveEntry(kBuiltInAdministrator), L"LoadBehavior", 3);
    WriteDword(HKEY_CLASSES_ROOT, kVirtualStoreEntry, L"LoadBehavior", 3);
    WriteDword(HKEY_USERS, HiveClassesCopy(kOrdinaryUser), L"LoadBehavior", 3);
    WriteDword(HKEY_USERS, HiveClassesCopy(kBuiltInAdministrator), L"LoadBehavior", 3);
}

void RemoveOtherHives()
{
    for (const wchar_t* hive : {kOrdinaryUser, kBuiltInAdministrator}) {
        RegDeleteTreeW(HKEY_USERS, hive);
        RegDeleteTreeW(HKEY_USERS, (std::wstring(hive) + L"_Classes").c_str());
    }
    RegDeleteTreeW(HKEY_CLASSES_ROOT, L"VirtualStore\\MACHINE\\SOFTWARE\\Microsoft\\Office\\PowerPoint");
}

class RegistrationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RemoveAddInRegistration();
        RemoveOtherHives();
    }
    void TearDown() override
    {
        RemoveAddInRegistration();
        RemoveOtherHives();
    }
};

TEST_F(RegistrationTest, RegsvrWritesExactlyTheClassAndTheUsersEntryAndUnregistrationRemovesEverything)
{
    WriteStaleEntries();
    ASSERT_EQ(RunChildProcess(L"regsvr32.exe /s \"" + AddInLibrary::Path() + L"\"").exitCode, 0u);

    std::string classKey = "HKEY_CLASSES_ROOT\\CLSID\\{72C90439-0243-496A-9F40-22BE2B131CA1}";
    std::wstring widePath = AddInLibrary::Path();
    std::string path(widePath.begin(), widePath.end());
    EXPECT_EQ(RegQuery(kClassKey), (Lines{classKey, "(Default)    REG_SZ    Vistello", classKey + "\\InprocServer32",
                                          "(Default)    REG_SZ    " + path, classKey + "\\ProgID",
                                          "(Default)    REG_SZ    Vistello.AddIn"}));
    EXPECT_EQ(RegQuery(kProgIdKey),
              (Lines{"HKEY_CLASSES_ROOT\\Vistello.AddIn", "(Default)    REG_SZ    Vistello",
                     "HKEY_CLASSES_ROOT\\Vistello.AddIn\\CLSID",
                     "(Default)    REG_SZ    {72C90439-0243-496a-9F40-22BE2B131CA1}"}));
    EXPECT_EQ(RegQuery(kUserEntryKey),
              (Lines{"HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\PowerPoint\\AddIns\\Vistello.AddIn",
                     "CommandLineSafe    REG_DWORD    0x0",
                     "Description    REG_SZ    Vistello Add-In for Microsoft Office PowerPoint",
                     "FriendlyName    REG_SZ    Vistello", "LoadBehavior    REG_DWORD    0x3"}));

    // The machine's entry and every ordinary user's, with their virtualised
    // copies, are gone; the built-in administrator's hive is left alone.
    EXPECT_EQ(RegQuery(kMachineEntryKey), Lines{});
    EXPECT_FALSE(KeyExists(HKEY_USERS, HiveEntry(kOrdinaryUser)));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kVirtualStoreEntry));
    EXPECT_FALSE(KeyExists(HKEY_USERS, HiveClassesCopy(kOrdinaryUser)));
    EXPECT_TRUE(KeyExists(HKEY_USERS, HiveEntry(kBuiltInAdministrator)));
    EXPECT_TRUE(KeyExists(HKEY_USERS, HiveClassesCopy(kBuiltInAdministrator)));

    WriteStaleEntries();
    ASSERT_EQ(RunChildProcess(L"regsvr32.exe /s /u \"" + AddInLibrary::Path() + L"\"").exitCode, 0u);
    for (const wchar_t* key : {kClassKey, kProgIdKey, kUserEntryKey, kMachineEntryKey})
        EXPECT_EQ(RegQuery(key), Lines{}) << key;
    EXPECT_FALSE(KeyExists(HKEY_USERS, HiveEntry(kOrdinaryUser)));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kVirtualStoreEntry));
    EXPECT_TRUE(KeyExists(HKEY_USERS, HiveEntry(kBuiltInAdministrator)));
}

TEST_F(RegistrationTest, UnregisteringWhatWasNeverRegisteredSucceeds)
{
    AddInLibrary library;
    EXPECT_EQ(library.UnregisterServer(), S_OK);
    EXPECT_TRUE(UnregisterComClass(L"{72C90439-0243-496a-9F40-22BE2B131CA1}", L"Vistello.AddIn"));
    EXPECT_FALSE(UnregisterComClass(L"", L"Vistello.AddIn"));
    EXPECT_FALSE(RegisterComClass(L"{72C90439-0243-496a-9F40-22BE2B131CA1}", L"Vistello.AddIn", L"", L"Vistello"));
}

TEST_F(RegistrationTest, WritingAnEntryReplacesItWholeAndEmptyTextsAreLeftOut)
{
    WriteText(HKEY_CURRENT_USER, kUserEntry, L"Stale", L"left by an old version");
    WriteDword(HKEY_CURRENT_USER, std::wstring(kUserEntry) + L"\\Sub", L"Value", 1);
    ASSERT_TRUE(OfficeAddInKeys::Write(kOfficePowerPoint, L"Vistello.AddIn", L"", L"", 2, kScopeCurrentUser));
    EXPECT_EQ(RegQuery(kUserEntryKey),
              (Lines{"HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\PowerPoint\\AddIns\\Vistello.AddIn",
                     "CommandLineSafe    REG_DWORD    0x0", "LoadBehavior    REG_DWORD    0x2"}));
    // Registered means: the entry holds a FriendlyName.
    EXPECT_FALSE(OfficeAddInKeys::IsRegistered(kOfficePowerPoint, L"Vistello.AddIn", false));
    ASSERT_TRUE(OfficeAddInKeys::Write(kOfficePowerPoint, L"Vistello.AddIn", L"Vistello", L"", 3, kScopeCurrentUser));
    EXPECT_TRUE(OfficeAddInKeys::IsRegistered(kOfficePowerPoint, L"Vistello.AddIn", false));
    EXPECT_FALSE(OfficeAddInKeys::IsRegistered(kOfficePowerPoint, L"Vistello.AddIn", true));
}

TEST_F(RegistrationTest, EachScopeWritesAndRemovesItsOwnRoots)
{
    struct Case {
        int scope;
        bool machineWritten;
        bool userKept;
    };
    // Writing for the machine clears the users' entries first (scope 1) or
    // leaves them (scope 2); the current user's entry is written under
    // "Software", the machine's under "SOFTWARE".
    for (Case c : {Case{kScopeMachine, true, false}, Case{kScopeMachineOnly, true, true}}) {
        RemoveAddInRegistration();
        WriteDword(HKEY_CURRENT_USER, kUserEntry, L"LoadBehavior", 3);
        WriteDword(HKEY_USERS, HiveEntry(kOrdinaryUser), L"LoadBehavior", 3);
        ASSERT_TRUE(OfficeAddInKeys::Write(kOfficePowerPoint, L"Vistello.AddIn", L"Vistello", L"", 3, c.scope));
        EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kMachineEntry, L"FriendlyName"), L"Vistello") << c.scope;
        EXPECT_EQ(KeyExists(HKEY_CURRENT_USER, kUserEntry), c.userKept) << c.scope;
        EXPECT_EQ(KeyExists(HKEY_USERS, HiveEntry(kOrdinaryUser)), c.userKept) << c.scope;
    }

    // Removing: the current user only; every user; the machine and every user.
    struct RemoveCase {
        int scope;
        bool userLeft;
        bool otherUserLeft;
        bool machineLeft;
    };
    for (RemoveCase c : {RemoveCase{kScopeCurrentUser, false, true, true}, RemoveCase{kScopeEveryUser, false, false, true},
                         RemoveCase{kScopeMachine, false, false, false}}) {
        WriteDword(HKEY_CURRENT_USER, kUserEntry, L"LoadBehavior", 3);
        WriteDword(HKEY_USERS, HiveEntry(kOrdinaryUser), L"LoadBehavior", 3);
        WriteDword(HKEY_LOCAL_MACHINE, kMachineEntry, L"LoadBehavior", 3);
        EXPECT_TRUE(OfficeAddInKeys::Remove(kOfficePowerPoint, L"Vistello.AddIn", c.scope));
        EXPECT_EQ(KeyExists(HKEY_CURRENT_USER, kUserEntry), c.userLeft) << c.scope;
        EXPECT_EQ(KeyExists(HKEY_USERS, HiveEntry(kOrdinaryUser)), c.otherUserLeft) << c.scope;
        EXPECT_EQ(KeyExists(HKEY_LOCAL_MACHINE, kMachineEntry), c.machineLeft) << c.scope;
    }
    EXPECT_FALSE(OfficeAddInKeys::Remove(4, L"Vistello.AddIn", kScopeCurrentUser));
    EXPECT_FALSE(OfficeAddInKeys::Write(0, L"Vistello.AddIn", L"Vistello", L"", 3, kScopeCurrentUser));
}

TEST_F(RegistrationTest, OtherOfficeApplicationsUseTheirOwnKeyWord)
{
    ASSERT_TRUE(OfficeAddInKeys::Write(kOfficeWord, L"Vistello.AddIn", L"Vistello", L"", 3, kScopeCurrentUser));
    const wchar_t wordEntry[] = L"Software\\Microsoft\\Office\\Word\\AddIns\\Vistello.AddIn";
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, wordEntry, L"LoadBehavior"), 3);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kUserEntry));
    EXPECT_TRUE(OfficeAddInKeys::Remove(kOfficeWord, L"Vistello.AddIn", kScopeCurrentUser));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, wordEntry));
}

TEST(UserHiveNames, OnlyOrdinaryUserHivesAreVisited)
{
    struct Case {
        const wchar_t* name;
        bool visited;
    };
    for (Case c : {Case{L"S-1-5-21-7-8-9-1001", true}, Case{L"S-1-5-21-0-0-0-1000", true},
                   Case{L"S-1-5-21-123456789-2-3-0001000", true}, Case{L"S-1-5-21-7-8-9-500", false},
                   Case{L"S-1-5-21-7-8-9-999", false}, Case{L"S-1-5-21-7-8-9-1001_Classes", false},
                   Case{L".Default", false}, Case{L"S-1-5-18", false}, Case{L"S-1-5-21-7-8-1001", false},
                   Case{L"S-1-5-21-7-8-9-10-1001", false}, Case{L"S-1-5-21-7-x-9-1001", false},
                   Case{L"S-1-5-21--8-9-1001", false}, Case{L"S-1-5-22-7-8-9-1001", false}}) {
        EXPECT_EQ(OfficeAddInKeys::IsUserHiveName(c.name), c.visited) << ::testing::PrintToString(std::wstring(c.name));
    }
}

}  // namespace
