// Update packages the Python writer made: the reader's codes (hostile paths
// included), byte-exact extraction of stored, deflated and LZMA items, and
// verification of their digests.
#include "PackageFixtures.h"
#include "RecordFixtures.h"

#include "addin/update/UpdatePackage.h"
#include "base/MKFile.h"
#include "base/MKPath.h"
#include "fixtures/Fixtures.h"

#include <gtest/gtest.h>

namespace {

std::string FileText(const MKString& path)
{
    MKByteArray bytes;
    if (!MKReadFile(path, bytes))
        return "<unreadable>";
    return std::string(reinterpret_cast<const char*>(bytes.GetData()), bytes.GetCount());
}

}  // namespace

TEST(UpdatePackageTest, AnswersTheReaderCodeOfEveryFixture)
{
    auto cases = PackageCases(L"update_cases.txt");
    ASSERT_GE(cases.size(), 25u);
    for (const auto& [path, code] : cases) {
        SCOPED_TRACE(testing::Message() << std::wstring(MKPathFileName(path).GetText()));
        UpdatePackage package;
        EXPECT_EQ(package.Open(path), code);
        if (code != UpdatePackageOk) {
            EXPECT_EQ(package.GetItemCount(), 0);
        }
    }
    UpdatePackage missing;
    EXPECT_EQ(missing.Open(UpdateFixture(L"packages\\no_such_package.vlx")), UpdatePackageCannotOpen);
}

TEST(UpdatePackageTest, ReadsTheHeaderAndItems)
{
    UpdatePackage package;
    ASSERT_EQ(package.Open(UpdateFixture(L"packages\\update_good.bin")), UpdatePackageOk);
    EXPECT_TRUE(package.IsSigned());
    EXPECT_TRUE(package.GetName().EqualsText(L"Setup"));
    EXPECT_TRUE(package.GetTargetFolder().EqualsText(L"app"));
    EXPECT_EQ(package.GetVersion(), MKVersion(3, 2));
    ASSERT_EQ(package.GetItemCount(), 5);
    EXPECT_EQ(package.FindItem(3), package.GetItem(2));
    EXPECT_EQ(package.FindItem(6), nullptr);
    int64_t sizes = 3 * 256 + 4 + 11 * 300 + 16 * 500 + 0 + 9;
    EXPECT_EQ(package.GetInstalledSize(), sizes + 5 * 4096);
    EXPECT_TRUE(package.VerifyItems());

    UpdatePackage unsigned_;
    ASSERT_EQ(unsigned_.Open(UpdateFixture(L"packages\\update_unsigned.bin")), UpdatePackageOk);
    EXPECT_FALSE(unsigned_.IsSigned());
}

TEST(UpdatePackageTest, ExtractsEveryItemByteForByte)
{
    UpdatePackage package;
    ASSERT_EQ(package.Open(UpdateFixture(L"packages\\update_good.bin")), UpdatePackageOk);
    ScratchFolder scratch;
    const std::string expected[] = {packagefixture::StoredEntry(), packagefixture::DeflatedEntry(),
                                    packagefixture::LzmaEntry(), "", "no digest"};
    for (int i = 0; i < package.GetItemCount(); ++i) {
        const PackageItem& item = *package.GetItem(i);
        SCOPED_TRACE(testing::Message() << std::wstring(item.name.GetText()));
        MKString target = scratch.File(item.name.GetText()).c_str();
        // An old file of that name is replaced whole.
        ASSERT_TRUE(MKWriteFile(target, "old content that is longer than some items", 42));
        ASSERT_EQ(item.ExtractToFile(target, nullptr), PackageItemOk);
        EXPECT_EQ(FileText(target), expected[i]);
    }
    // The stored item carries its last-write time: 2013-07-08 12:00 UTC.
    EXPECT_EQ(MKFileModifiedTime(scratch.File(L"Stored.txt").c_str()), 1373284800);
}

TEST(UpdatePackageTest, DamagedDataFailsVerificationAndTruncatedDataLeavesNoFile)
{
    UpdatePackage damaged;
    ASSERT_EQ(damaged.Open(UpdateFixture(L"packages\\update_damaged_data.bin")), UpdatePackageOk);
    EXPECT_FALSE(damaged.VerifyItems());
    MKSha1Digest digest;
    EXPECT_EQ(damaged.GetItem(1)->ComputeDigest(&digest), PackageItemOk);
    EXPECT_TRUE(damaged.GetItem(1)->digest.Matches(digest));

    UpdatePackage truncated;
    ASSERT_EQ(truncated.Open(UpdateFixture(L"packages\\update_zlib_truncated.bin")), UpdatePackageOk);
    ScratchFolder scratch;
    MKString target = scratch.File(L"a").c_str();
    EXPECT_EQ(truncated.GetItem(0)->ExtractToFile(target, nullptr), PackageItemReadFailed);
    EXPECT_FALSE(MKIsFileAt(target));
}

TEST(UpdatePackageTest, ExtractionReportsAMissingTargetFolderAndAnItemWithoutData)
{
    UpdatePackage package;
    ASSERT_EQ(package.Open(UpdateFixture(L"packages\\update_good.bin")), UpdatePackageOk);
    ScratchFolder scratch;
    EXPECT_EQ(package.GetItem(0)->ExtractToFile(scratch.File(L"missing\\a.txt").c_str(), nullptr),
              PackageItemCannotCreate);
    PackageItem noData(package.GetPath());
    EXPECT_EQ(noData.ExtractToFile(scratch.File(L"b.txt").c_str(), nullptr), PackageItemNoData);
    PackageItem noPackage(scratch.File(L"none.vlx").c_str());
    noPackage.dataOffset = 100;
    EXPECT_EQ(noPackage.ExtractToFile(scratch.File(L"c.txt").c_str(), nullptr), PackageItemCannotOpenPackage);
}
