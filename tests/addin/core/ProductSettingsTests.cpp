// The product key per user and per machine: creation on first use, the two
// binary records, the cached flags and the installation source.
#include "AddInTestSupport.h"

#include "addin/core/ProductSettings.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const wchar_t kMakerKey[] = L"Software\\Brelix Technologies";
const wchar_t kProductKey[] = L"Software\\Brelix Technologies\\Vistello";

using Bytes = std::vector<uint8_t>;

// A byte array holding the bytes (MKByteArray does not copy).
struct ByteArray {
    explicit ByteArray(const Bytes& bytes) { array.Assign(bytes.data(), static_cast<int>(bytes.size())); }
    MKByteArray array;
};

Bytes Read(const MKByteArray& array)
{
    return Bytes(array.GetData(), array.GetData() + array.GetCount());
}

class ProductSettingsTest : public ::testing::Test {
protected:
    void SetUp() override { Clean(); }
    void TearDown() override { Clean(); }
    static void Clean()
    {
        RegDeleteTreeW(HKEY_CURRENT_USER, kMakerKey);
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, kMakerKey);
    }
};

TEST_F(ProductSettingsTest, AFreshUsersWritableStoreCreatesTheKeysAndReadsEmptyRecords)
{
    ProductSettings settings(ProductSettings::PerUser, true);
    MKByteArray bytes;
    bytes.Add(1);
    EXPECT_TRUE(settings.ReadPreferences(bytes));
    EXPECT_EQ(bytes.GetCount(), 0);
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kProductKey));
    EXPECT_TRUE(settings.ReadUser(bytes));
    EXPECT_EQ(bytes.GetCount(), 0);
}

TEST_F(ProductSettingsTest, StoresThatMayNotWriteNeverCreateKeys)
{
    MKByteArray bytes;
    bytes.Add(1);
    ProductSettings reader(ProductSettings::PerUser, false);
    EXPECT_FALSE(reader.ReadPreferences(bytes));
    EXPECT_EQ(bytes.GetCount(), 0);
    EXPECT_FALSE(reader.WriteUser(ByteArray({2}).array));
    ProductSettings machine(ProductSettings::PerMachine, true);
    EXPECT_FALSE(machine.ReadUser(bytes));
    EXPECT_FALSE(machine.GetAutoCheckUpdates().present);
    EXPECT_FALSE(machine.WritePreferences(ByteArray({2}).array));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kMakerKey));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kMakerKey));

    // The machine's key is read when it exists, and stays read-only.
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, kProductKey, L"Preferences", REG_BINARY, "\x07\x08", 2);
    WriteDword(HKEY_LOCAL_MACHINE, kProductKey, L"Source", 42);
    ProductSettings present(ProductSettings::PerMachine, true);
    EXPECT_TRUE(present.ReadPreferences(bytes));
    EXPECT_TRUE(Read(bytes) == (Bytes{7, 8}));
    NumberSetting source = present.GetSource();
    EXPECT_TRUE(source.present);
    EXPECT_EQ(source.value, 42);
    EXPECT_FALSE(present.WritePreferences(ByteArray({9}).array));
    EXPECT_FALSE(SetAutoCheckUpdates(present, false));
}

TEST_F(ProductSettingsTest, RecordsAreWrittenInPlaceAndOnlyBinaryValuesRead)
{
    ProductSettings settings(ProductSettings::PerUser, true);
    ASSERT_TRUE(settings.WritePreferences(ByteArray({1, 2, 3}).array));
    ASSERT_TRUE(settings.WritePreferences(ByteArray({4, 5}).array));
    ASSERT_TRUE(settings.WriteUser(MKByteArray()));
    MKByteArray bytes;
    EXPECT_TRUE(settings.ReadPreferences(bytes));
    EXPECT_TRUE(Read(bytes) == (Bytes{4, 5}));
    // A second store sees what the first wrote.
    ProductSettings other(ProductSettings::PerUser, false);
    EXPECT_TRUE(other.ReadPreferences(bytes));
    EXPECT_TRUE(Read(bytes) == (Bytes{4, 5}));
    EXPECT_TRUE(other.ReadUser(bytes));
    EXPECT_EQ(bytes.GetCount(), 0);

    WriteDword(HKEY_CURRENT_USER, kProductKey, L"User", 5);
    bytes.Add(1);
    EXPECT_TRUE(other.ReadUser(bytes));
    EXPECT_EQ(bytes.GetCount(), 0);

    // After Close the key is opened again.
    settings.Close();
    RegDeleteTreeW(HKEY_CURRENT_USER, kMakerKey);
    EXPECT_TRUE(settings.WriteUser(ByteArray({6}).array));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kProductKey));
}

TEST_F(ProductSettingsTest, FlagsAreReadOnceAndWrittenOnlyWhenTheyChange)
{
    ProductSettings settings(ProductSettings::PerUser, true);
    EXPECT_FALSE(settings.GetAutoCheckUpdates().present);
    EXPECT_TRUE(GetAutoCheckUpdates(settings));

    // The store answers from its cache: a value written behind its back is
    // neither seen nor touched by a write of the pair it holds.
    WriteDword(HKEY_CURRENT_USER, kProductKey, L"AutoCheckUpdates", 0);
    EXPECT_TRUE(GetAutoCheckUpdates(settings));
    EXPECT_TRUE(settings.SetAutoCheckUpdates(FlagSetting{false, false}));
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kProductKey, L"AutoCheckUpdates"), 0);

    EXPECT_TRUE(SetAutoCheckUpdates(settings, true));
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kProductKey, L"AutoCheckUpdates"), 1);
    EXPECT_TRUE(SetAutoCheckUpdates(settings, false));
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kProductKey, L"AutoCheckUpdates"), 0);
    EXPECT_FALSE(GetAutoCheckUpdates(settings));

    // An absent pair over a present one deletes the value.
    ProductSettings other(ProductSettings::PerUser, true);
    EXPECT_TRUE(other.SetAutoInstallUpdates(FlagSetting{true, true}));
    FlagSetting install = other.GetAutoInstallUpdates();
    EXPECT_TRUE(install.present && install.value);
    EXPECT_TRUE(other.SetAutoInstallUpdates(FlagSetting{false, false}));
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kProductKey, L"AutoInstallUpdates"), -1);
    EXPECT_FALSE(other.GetAutoInstallUpdates().present);

    // Any non-zero DWORD is on; other types count as absent.
    WriteDword(HKEY_CURRENT_USER, kProductKey, L"AutoInstallUpdates", 7);
    WriteText(HKEY_CURRENT_USER, kProductKey, L"AutoCheckUpdates", L"0");
    ProductSettings fresh(ProductSettings::PerUser, false);
    install = fresh.GetAutoInstallUpdates();
    EXPECT_TRUE(install.present && install.value);
    EXPECT_FALSE(fresh.GetAutoCheckUpdates().present);
    EXPECT_FALSE(fresh.GetSource().present);
}

}  // namespace
