// The two per-user records through the built VistelloAddIn.dll as the stand-in
// PowerPoint loads it: made when missing or damaged, left alone when valid or
// unreadable, and the start counted at shut-down. "reg query" shows what is
// stored; the oracle decodes it after the run (update_records_readback).
#include "AddInTestSupport.h"
#include "RecordFixtures.h"
#include "fixtures/ComScope.h"
#include "fixtures/ErrorBoxWatcher.h"

#include "standins/powerpoint/ComAddInObject.h"
#include "standins/powerpoint/PowerPointHost.h"

#include <windows.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include <sstream>

using standin::PowerPointHost;

namespace {

const wchar_t kMakerKey[] = L"Software\\Brelix Technologies";
const wchar_t kProductKey[] = L"Software\\Brelix Technologies\\Vistello";

// A binary value as "reg query" shows it; empty when it is missing or of
// another type.
Bytes QueryBinary(const char* name)
{
    for (const std::string& line : RegQuery(std::wstring(L"HKCU\\") + kProductKey)) {
        std::istringstream fields(line);
        std::string valueName, type, data;
        fields >> valueName >> type >> data;
        if (valueName == name && type == "REG_BINARY")
            return FromHex(data);
    }
    return {};
}

void StoreBinary(const wchar_t* name, const Bytes& bytes)
{
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, kProductKey, name, REG_BINARY, bytes.data(),
                              static_cast<DWORD>(bytes.size())),
              ERROR_SUCCESS);
}

// Sets the product key's access list from its text form.
void SetProductKeyAccess(const wchar_t* sddl)
{
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &descriptor, nullptr));
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kProductKey, 0, WRITE_DAC, &key), ERROR_SUCCESS);
    EXPECT_EQ(RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor), ERROR_SUCCESS);
    RegCloseKey(key);
    LocalFree(descriptor);
}

const wchar_t kEveryoneMayDoAll[] = L"D:(A;;KA;;;WD)";
// Values cannot be read, everything else is allowed.
const wchar_t kNobodyMayRead[] = L"D:(D;;0x0001;;;WD)(A;;KA;;;WD)";

class AddInRecordsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Clean();
        RemoveAddInRegistration();
        ASSERT_EQ(library.RegisterServer(), S_OK);
    }
    void TearDown() override
    {
        Clean();
        RemoveAddInRegistration();
    }
    static void Clean()
    {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, kProductKey, 0, WRITE_DAC, &key) == ERROR_SUCCESS) {
            RegCloseKey(key);
            SetProductKeyAccess(kEveryoneMayDoAll);
        }
        RegDeleteTreeW(HKEY_CURRENT_USER, kMakerKey);
    }
    static void Start(PowerPointHost& host)
    {
        host.Start();
        standin::ComAddInObject* addIn = host.AddIn(L"Vistello.AddIn");
        ASSERT_NE(addIn, nullptr);
        ASSERT_TRUE(addIn->IsConnected());
    }

    ComScope com;
    // Nothing is installed beside the library: each start shows why it failed.
    ErrorBoxWatcher boxes;
    AddInLibrary library;
};

}  // namespace

TEST_F(AddInRecordsTest, WithoutRecordsTheAddInStoresFreshOnesAndCountsItsStartAtShutDown)
{
    PowerPointHost host(L"14.0");
    Start(host);
    Bytes preferences = QueryBinary("Preferences");
    Bytes user = QueryBinary("User");
    ASSERT_FALSE(preferences.empty()) << "no REG_BINARY Preferences";
    ASSERT_FALSE(user.empty()) << "no REG_BINARY User";
    HandRecordToOracle(RecordKind::Preferences, L"addin_fresh_prefs.bin", preferences,
                       "{\"guid_nonzero\": true, \"frequency\": 2, \"blob\": \"\"}");
    HandRecordToOracle(RecordKind::Usage, L"addin_fresh_user.bin", user,
                       "{\"order\": [1, 2], \"features\": {\"1\": {\"total\": 0, \"counters\": []}, "
                       "\"2\": {\"total\": 0, \"counters\": []}}}");

    host.Shutdown();
    // Nothing changed the preferences: the start-up's save wrote nothing.
    EXPECT_EQ(QueryBinary("Preferences"), preferences);
    HandRecordToOracle(RecordKind::Usage, L"addin_fresh_user_after.bin", QueryBinary("User"),
                       "{\"order\": [1, 2], \"features\": {\"1\": {\"total\": 0, \"counters\": []}, "
                       "\"2\": {\"total\": 1}}, \"one_more_use_than\": {\"file\": \"addin_fresh_user.bin\", "
                       "\"id\": 2}}");
}

TEST_F(AddInRecordsTest, ValidRecordsAreLeftByteForByte)
{
    const Bytes preferences = ReadRecordFixture(L"prefs_valid");
    const Bytes user = ReadRecordFixture(L"usage_valid");
    StoreBinary(L"Preferences", preferences);
    StoreBinary(L"User", user);
    PowerPointHost host(L"14.0");
    Start(host);
    EXPECT_EQ(QueryBinary("Preferences"), preferences);
    EXPECT_EQ(QueryBinary("User"), user);

    host.Shutdown();
    EXPECT_EQ(QueryBinary("Preferences"), preferences);
    std::ostringstream expectations;
    expectations << "{\"created\": " << fixture::CreatedTicks() << ", \"order\": [1, 2, " << fixture::kEffectId
                 << "], \"features\": {\"1\": {\"first_day\": 4000, \"total\": 120}, \"2\": {\"first_day\": 4100, "
                    "\"total\": 701}, \""
                 << fixture::kEffectId
                 << "\": {\"first_day\": 4990, \"total\": 5}}, \"one_more_use_than\": {\"file\": "
                    "\"addin_valid_user.bin\", \"id\": 2}}";
    HandRecordToOracle(RecordKind::Usage, L"addin_valid_user.bin", user, "{}");
    HandRecordToOracle(RecordKind::Usage, L"addin_valid_user_after.bin", QueryBinary("User"), expectations.str());
}

TEST_F(AddInRecordsTest, DamagedRecordsAreReplaced)
{
    const Bytes preferences = ReadRecordFixture(L"prefs_bad_flip_first_body_byte");
    const Bytes user = ReadRecordFixture(L"usage_bad_zlib_cut");
    StoreBinary(L"Preferences", preferences);
    StoreBinary(L"User", user);
    PowerPointHost host(L"14.0");
    Start(host);
    Bytes newPreferences = QueryBinary("Preferences");
    Bytes newUser = QueryBinary("User");
    EXPECT_NE(newPreferences, preferences);
    EXPECT_NE(newUser, user);
    HandRecordToOracle(RecordKind::Preferences, L"addin_damaged_prefs.bin", newPreferences,
                       "{\"guid_nonzero\": true, \"frequency\": 2, \"blob\": \"\"}");
    HandRecordToOracle(RecordKind::Usage, L"addin_damaged_user.bin", newUser, "{\"order\": [1, 2]}");
    host.Shutdown();
}

TEST_F(AddInRecordsTest, RecordsThatCannotBeReadAreLeftAsTheyWere)
{
    const Bytes preferences = ReadRecordFixture(L"prefs_valid");
    const Bytes user = ReadRecordFixture(L"usage_valid");
    StoreBinary(L"Preferences", preferences);
    StoreBinary(L"User", user);
    SetProductKeyAccess(kNobodyMayRead);
    PowerPointHost host(L"14.0");
    Start(host);
    // The key may be written again by the time the add-in shuts down; the
    // records it could not read must still not be written over.
    SetProductKeyAccess(kEveryoneMayDoAll);
    host.Shutdown();
    EXPECT_EQ(QueryBinary("Preferences"), preferences);
    EXPECT_EQ(QueryBinary("User"), user);
}
