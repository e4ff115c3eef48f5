// Module packages the Python writer made: the reader's codes for every damage,
// the records it reads and byte-exact entries for each packing.
#include "PackageFixtures.h"
#include "RecordFixtures.h"

#include "addin/update/ModulePackage.h"
#include "base/MKFile.h"
#include "base/MKPath.h"
#include "fixtures/Fixtures.h"

#include <gtest/gtest.h>

namespace {

std::string Text(const MKByteArray& bytes)
{
    return std::string(reinterpret_cast<const char*>(bytes.GetData()), bytes.GetCount());
}

MKGuid Guid(const wchar_t* text)
{
    MKGuid guid;
    guid.Parse(text);
    return guid;
}

}  // namespace

TEST(ModulePackageTest, AnswersTheReaderCodeOfEveryFixture)
{
    auto cases = PackageCases(L"module_cases.txt");
    ASSERT_GE(cases.size(), 18u);
    for (const auto& [path, code] : cases) {
        SCOPED_TRACE(testing::Message() << std::wstring(MKPathFileName(path).GetText()));
        ModulePackage package;
        EXPECT_EQ(package.Open(path), code);
        if (code != ModulePackageOk) {
            EXPECT_EQ(package.GetEntryCount(), 0);
        }
    }
}

TEST(ModulePackageTest, AMissingFileAnswersOne)
{
    ModulePackage package;
    EXPECT_EQ(package.Open(UpdateFixture(L"packages\\no_such_package.bin")), ModulePackageCannotOpen);
}

TEST(ModulePackageTest, ReadsTheHeaderTypesAndEntries)
{
    ModulePackage package;
    ASSERT_EQ(package.Open(UpdateFixture(L"packages\\module_good.bin")), ModulePackageOk);
    EXPECT_TRUE(package.GetName().EqualsText(L"Kernel"));
    EXPECT_EQ(package.GetGuid(), Guid(packagefixture::kKernelGuid));
    EXPECT_EQ(package.GetVersion(), MKVersion(3, 2, 1, 0));
    EXPECT_EQ(package.GetModuleKind(), 1);
    EXPECT_EQ(package.GetEntryCount(), 4);
    ASSERT_NE(package.GetMainEntry(), nullptr);
    EXPECT_TRUE(package.GetMainEntry()->name.EqualsText(L"Kernel.dll"));
    EXPECT_EQ(package.FindEntryByName(L"Strings.res"), package.GetEntry(1));
    EXPECT_EQ(package.FindEntryByName(L"strings.res"), nullptr);

    const ModuleType* type = package.FindTypeByGuid(Guid(packagefixture::kTypeGuid));
    ASSERT_NE(type, nullptr);
    EXPECT_TRUE(type->name.EqualsText(L"Kernel.Effect"));
    EXPECT_EQ(type->version, MKVersion(2, 1));
    EXPECT_EQ(package.FindTypeByGuid(Guid(packagefixture::kKernelGuid)), nullptr);

    MKTArray<const ModuleEntry*> listed;
    ASSERT_TRUE(package.ListEntries(listed));
    ASSERT_EQ(listed.GetCount(), 2);
    EXPECT_EQ(listed[0], package.GetEntry(2));
    EXPECT_EQ(listed[1], package.GetEntry(0));
}

TEST(ModulePackageTest, ExtractsStoredDeflatedAndLzmaEntriesByteForByte)
{
    ModulePackage package;
    ASSERT_EQ(package.Open(UpdateFixture(L"packages\\module_good.bin")), ModulePackageOk);
    const struct {
        const wchar_t* name;
        std::string plain;
    } entries[] = {{L"Kernel.dll", packagefixture::StoredEntry()},
                   {L"Strings.res", packagefixture::DeflatedEntry()},
                   {L"Images.res", packagefixture::LzmaEntry()},
                   {L"Empty.res", ""}};
    for (const auto& expected : entries) {
        SCOPED_TRACE(testing::Message() << expected.name);
        const ModuleEntry* entry = package.FindEntryByName(expected.name);
        ASSERT_NE(entry, nullptr);
        for (bool verify : {true, false}) {
            MKByteArray bytes;
            ASSERT_TRUE(package.ExtractEntry(*entry, bytes, verify));
            EXPECT_EQ(Text(bytes), expected.plain);
        }
    }
}

// A damaged data byte of each packing: verification refuses it before the
// bytes are descrambled or decoded.
TEST(ModulePackageTest, VerificationRefusesDamagedEntryData)
{
    MKByteArray good;
    ASSERT_TRUE(MKReadFile(UpdateFixture(L"packages\\module_good.bin"), good));
    ScratchFolder scratch;
    MKString path = scratch.File(L"damaged.vmp").c_str();
    ModulePackage reference;
    ASSERT_EQ(reference.Open(UpdateFixture(L"packages\\module_good.bin")), ModulePackageOk);
    for (int index = 0; index < 3; ++index) {
        const ModuleEntry* entry = reference.GetEntry(index);
        SCOPED_TRACE(testing::Message() << "entry " << index);
        MKByteArray damaged;
        damaged.Assign(good.GetData(), good.GetCount());
        damaged[entry->dataOffset + entry->storedSize / 2] ^= 0x40;
        ASSERT_TRUE(MKWriteFile(path, damaged.GetData(), damaged.GetCount()));
        ModulePackage package;
        ASSERT_EQ(package.Open(path), ModulePackageOk);
        MKByteArray bytes;
        EXPECT_FALSE(package.ExtractEntry(*package.GetEntry(index), bytes, true));
        EXPECT_EQ(bytes.GetCount(), 0);
        // Unverified, a stored entry comes out changed; a packed one may fail
        // to decode.
        if (index == 0) {
            ASSERT_TRUE(package.ExtractEntry(*package.GetEntry(index), bytes, false));
            EXPECT_NE(Text(bytes), packagefixture::StoredEntry());
        }
    }
}
