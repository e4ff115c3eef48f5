// The report assembly of the installer program: read from resource "BIN" 500
// of VistelloUpdater.exe (as it is, or scrambled over the raw LZMA form),
// loaded into the stand-in .NET runtime and released again.
#include "ReportFixtures.h"

#include "companions/updateaddin/UpdateHelperAssembly.h"

#include "fixtures/ComScope.h"
#include "fixtures/Fixtures.h"
#include "fixtures/StandInClr.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

class UpdateHelperAssemblyTest : public ::testing::Test {
protected:
    bool Loads(const ResourceBytes& resource)
    {
        ScratchFolder folder;
        EXPECT_TRUE(WriteInstallerProgram(folder.path(), resource));
        UpdateHelperAssembly helper;
        bool loaded = helper.CanUse() && helper.StartHost() &&
                      helper.Load(L"Brelix.Vistello.AddInUpdater", MKString(folder.path().c_str()));
        if (loaded)
            EXPECT_NE(helper.GetObject(), nullptr);
        return loaded;
    }
    bool Logged(const std::wstring& line) const
    {
        std::vector<std::wstring> log = clr.Log();
        return std::find(log.begin(), log.end(), line) != log.end();
    }

    ComScope com;
    StandInClr clr;
};

TEST_F(UpdateHelperAssemblyTest, TheImageIsTakenAsItIsOrUnpackedAndTheRuntimeStopsWithTheReport)
{
    std::string image = ReportImage();
    int32_t size = static_cast<int32_t>(image.size());
    for (const ResourceBytes& resource : {PlainResource(image), PackedResource(image, size)}) {
        clr.ClearLog();
        ASSERT_TRUE(Loads(resource)) << resource.size();
        EXPECT_TRUE(Logged(L"Assembly.CreateInstance(Brelix.Vistello.AddInUpdater)"));
        EXPECT_TRUE(Logged(L"Report.InvokeMethod(Dispose) 0"));
        EXPECT_TRUE(Logged(L"Runtime.Stop"));
    }
}

TEST_F(UpdateHelperAssemblyTest, ShortCutOrMisstatedResourcesAreRefused)
{
    std::string image = ReportImage();
    int32_t size = static_cast<int32_t>(image.size());
    ResourceBytes cut = PackedResource(image, size);
    cut.resize(cut.size() / 2);
    const ResourceBytes cases[] = {
        ResourceBytes{0xFF, 0xFF, 0xFF, 0xFF},  // four bytes: nothing after n
        PackedResource(image, size + 1),        // decodes to fewer bytes than stated
        PackedResource(image, size - 1),        // to more
        PackedResource(image, 0),
        cut,
        PackedResource(image, UpdateHelperAssembly::kMaxImageSize + 1),
        ResourceBytes(),                        // no resource at all
    };
    for (const ResourceBytes& resource : cases)
        EXPECT_FALSE(Loads(resource)) << resource.size();
    EXPECT_FALSE(Logged(L"Assembly.CreateInstance(Brelix.Vistello.AddInUpdater)"));
    // No installer program at all.
    ScratchFolder empty;
    UpdateHelperAssembly helper;
    ASSERT_TRUE(helper.StartHost());
    EXPECT_FALSE(helper.Load(L"Brelix.Vistello.AddInUpdater", MKString(empty.path().c_str())));
}

TEST_F(UpdateHelperAssemblyTest, ARuntimeOthersInTheProcessUseIsLeftRunning)
{
    // The main add-in's plug-ins run on the runtime already.
    HMODULE shared = LoadLibraryW(L"mscoree.dll");
    ASSERT_NE(shared, nullptr);
    ASSERT_TRUE(Loads(PlainResource(ReportImage())));
    EXPECT_TRUE(Logged(L"Report.InvokeMethod(Dispose) 0"));
    EXPECT_FALSE(Logged(L"Runtime.Stop"));
    FreeLibrary(shared);
}

TEST_F(UpdateHelperAssemblyTest, WithoutTheRuntimesServicePackTheAssemblyIsNotTried)
{
    StandInClr::SetServicePack(-1);
    UpdateHelperAssembly helper;
    EXPECT_FALSE(helper.CanUse());
}

}  // namespace
