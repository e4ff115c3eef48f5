// Packages the Python writer made hostile on purpose: they open cleanly and
// then ask the reader for far more memory than their bytes can fill, or name
// files outside the plug-in's folder. Each read must fail cleanly with every
// single request, the system allocators' included, under 1 MiB.
#include "PackageFixtures.h"

#include "addin/core/ModulePluginPackage.h"
#include "addin/update/ModulePackage.h"
#include "addin/update/UpdatePackage.h"
#include "base/MKFile.h"
#include "fixtures/AllocationProbe.h"
#include "fixtures/Fixtures.h"

#include <gtest/gtest.h>

namespace {

const size_t kCap = 1 << 20;

}  // namespace

TEST(HostilePackageTest, AnLzmaItemAnnouncingAHugeDictionaryFailsWithoutReservingIt)
{
    UpdatePackage package;
    ASSERT_EQ(package.Open(UpdateFixture(L"packages\\update_lzma_huge_dictionary.bin")), UpdatePackageOk);
    ASSERT_TRUE(package.VerifyItems());
    ScratchFolder scratch;
    const MKString target = scratch.File(L"a").c_str();
    AllocationProbe probe;
    EXPECT_EQ(package.GetItem(0)->ExtractToFile(target, nullptr), PackageItemReadFailed);
    EXPECT_LT(probe.Largest(), kCap);
    EXPECT_FALSE(MKIsFileAt(target));
}

TEST(HostilePackageTest, AnEntryStatingNearlyTwoGigabytesIsReadByWhatItHolds)
{
    for (const wchar_t* name : {L"module_huge_zlib.bin", L"module_huge_lzma.bin"}) {
        SCOPED_TRACE(testing::Message() << std::wstring(name));
        ModulePackage package;
        ASSERT_EQ(package.Open(UpdateFixture((std::wstring(L"packages\\") + name).c_str())), ModulePackageOk);
        ASSERT_EQ(package.GetEntry(0)->size, 0x7FFFFFF0);
        // Read the way the core reads a plug-in's assemblies.
        ModulePluginPackage plugin(package);
        MKTArray<uint8_t> bytes;
        AllocationProbe probe;
        EXPECT_FALSE(plugin.ReadEntry(L"Huge.res", bytes));
        EXPECT_LT(probe.Largest(), kCap);
        EXPECT_EQ(bytes.GetCount(), 0);
    }
}

TEST(HostilePackageTest, SymbolFilesAreFoundOnlyInsideThePackagesFolder)
{
    const MKString path = UpdateFixture(L"packages\\module_symbols.bin");
    ModulePackage package;
    ASSERT_EQ(package.Open(path), ModulePackageOk);
    ModulePluginPackage plugin(package);
    const std::wstring file = path.GetText();
    const std::wstring folder = file.substr(0, file.rfind(L'\\'));
    struct Row {
        const wchar_t* entry;
        std::wstring expected;  // empty: no symbol file
    } rows[] = {
        {L"Inside.dll", folder + L"\\Main.pdb"},
        {L"Below.dll", folder + L"\\symbols\\Main.pdb"},
        {L"Share.dll", L""},
        {L"Drive.dll", L""},
        {L"Rooted.dll", L""},
        {L"Parent.dll", L""},
        {L"Device.dll", L""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.entry);
        MKString symbols(L"unset");
        const bool found = plugin.GetSymbolFile(row.entry, symbols);
        EXPECT_EQ(found, !row.expected.empty());
        if (found) {
            EXPECT_EQ(std::wstring(symbols.GetText()), row.expected);
        }
    }
}
