// Plug-ins loaded into the stand-in .NET runtime through the loader object:
// assemblies from the package's bytes, identity, the kernel's start and
// event interface, initialisation with the API object, and unloading.
#include "PluginTestSupport.h"
#include "fixtures/ComScope.h"
#include "fixtures/StandInAssembly.h"
#include "fixtures/StandInClr.h"

#include "addin/core/AssemblyName.h"
#include "addin/core/ClrHost.h"
#include "addin/effects/ClrObject.h"
#include "addin/effects/Plugin.h"
#include "base/MKGuid.h"
#include "base/MKSafeArray.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using Lines = std::vector<std::wstring>;

const wchar_t kKernelGuid[] = L"b80321f4-6a3c-48c1-89a9-fdcff7ba605a";
const wchar_t kKernelName[] = L"Vistello.Kernel, Version=2.1.0.5, Culture=neutral, PublicKeyToken=null";

std::string KernelAssembly(const wchar_t* guid = kKernelGuid)
{
    return StandInAssembly(kKernelName)
        .Type(L"Brelix.Vistello.Kernel", {{L"Kind", L"kernel"}, {L"Guid", guid}, {L"Name", L"Vistello Kernel"}})
        .Bytes();
}

std::string TestAssembly(const wchar_t* name, std::vector<std::pair<std::wstring, std::wstring>> extra = {})
{
    std::vector<std::pair<std::wstring, std::wstring>> fields = {
        {L"Kind", L"plugin"}, {L"Guid", L"0A1B2C3D-0000-4000-8000-00000000000A"}, {L"Name", name}};
    fields.insert(fields.end(), extra.begin(), extra.end());
    return StandInAssembly(std::wstring(name) + L", Version=1.0.0.0, Culture=neutral, PublicKeyToken=null")
        .Type(std::wstring(L"Test.") + name, fields)
        .Bytes();
}

class PluginLoadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(clr.Start(L"VistelloDomain", true));
        MKSafeArray image(VT_UI1);
        std::string bytes = LoaderAssembly().Bytes();
        ASSERT_TRUE(image.Create(static_cast<int>(bytes.size())));
        memcpy(image.AccessData(), bytes.data(), bytes.size());
        image.Unaccess();
        AssemblyName* assembly = clr.LoadAssemblyImage(image, nullptr);
        ASSERT_NE(assembly, nullptr);
        loaderObject.reset(assembly->CreateInstance(L"Brelix.Vistello.PPTPluginLoader"));
        ASSERT_NE(loaderObject, nullptr);
        IPPTPluginLoader* loader = nullptr;
        ASSERT_EQ(loaderObject->QueryInterface(IID_IPPTPluginLoader, reinterpret_cast<void**>(&loader)), S_OK);
        host.loader.Attach(loader);
        standIn.ClearLog();
    }
    void TearDown() override
    {
        host.events.Release();
        host.loader.Release();
        loaderObject.reset();
        clr.Stop();
    }

    ComScope com;
    StandInClr standIn;
    ClrHost clr;
    std::unique_ptr<ClrObject> loaderObject;
    TestPluginHost host;
};

TEST_F(PluginLoadTest, TheKernelLoadsFromItsPackageStartsAndIsInitialised)
{
    MemoryPackage package(L"Kernel Package");
    package.AddAssembly(kKernelName, KernelAssembly(), true);
    Plugin kernel(&host, &package);
    host.kernel = &kernel;
    ASSERT_TRUE(kernel.Initialize());
    EXPECT_TRUE(kernel.IsLoaded());
    EXPECT_EQ(kernel.GetName(), MKString(L"Vistello Kernel"));
    EXPECT_EQ(kernel.GetGuidText(), MKString(L"b80321f4-6a3c-48c1-89a9-fdcff7ba605a"));
    EXPECT_NE(host.events.Get(), nullptr);
    EXPECT_TRUE(kernel.QueryLoaded());
    Lines expected = {L"Loader.FindAssembly(" + std::wstring(kKernelName) + L")",
                      L"Loader.LoadAssemblyBytes",
                      L"Domain.Load_3",
                      L"Domain.Loaded(" + std::wstring(kKernelName) + L")",
                      L"Loader.CreatePluginObject",
                      L"Kernel.GetGuid",
                      L"Kernel.GetName",
                      L"Kernel.StartKernel null",
                      L"Kernel.Initialize(Kernel Package)",
                      L"Kernel.QueryLoaded"};
    EXPECT_EQ(standIn.Log(), expected);

    kernel.Unload();
    EXPECT_FALSE(kernel.IsLoaded());
    EXPECT_EQ(host.detached, 1);
    EXPECT_EQ(standIn.LogOf({L"Kernel.Shutdown"}), Lines{L"Kernel.Shutdown"});
}

TEST_F(PluginLoadTest, AnAssemblyLoadedAlreadyIsNotLoadedAgain)
{
    MemoryPackage first(L"First");
    first.AddAssembly(L"TestA, Version=1.0.0.0, Culture=neutral, PublicKeyToken=null", TestAssembly(L"TestA"), true);
    Plugin a(&host, &first);
    ASSERT_TRUE(a.Initialize());
    standIn.ClearLog();
    Plugin again(&host, &first);
    ASSERT_TRUE(again.Initialize());
    EXPECT_TRUE(standIn.LogOf({L"Loader.LoadAssemblyBytes"}).empty());
}

TEST_F(PluginLoadTest, EveryFailureOnTheWayUnloadsThePlugin)
{
    struct Case {
        const char* what;
        std::string assembly;
        const wchar_t* failing;
    };
    const Case cases[] = {
        {"initialise answers false", TestAssembly(L"TestB", {{L"Initialize", L"false"}}), L""},
        {"no GUID", TestAssembly(L"TestB", {{L"Guid", L"not a guid"}}), L""},
        {"name fails", TestAssembly(L"TestB"), L"TestB.GetName"},
        {"initialise fails", TestAssembly(L"TestB"), L"TestB.Initialize"},
        {"load fails", TestAssembly(L"TestB"), L"Loader.LoadAssemblyBytes"},
        {"create fails", TestAssembly(L"TestB"), L"Loader.CreatePluginObject"},
        {"kernel start fails", KernelAssembly(), L"Kernel.StartKernel"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        StandInClr::Fail(c.failing);
        MemoryPackage package(L"Package");
        package.AddAssembly(std::wstring(L"Case") + std::to_wstring(&c - cases) +
                                L", Version=1.0.0.0, Culture=neutral, PublicKeyToken=null",
                            c.assembly, true);
        Plugin plugin(&host, &package);
        host.kernel = c.assembly == KernelAssembly() ? &plugin : nullptr;
        EXPECT_FALSE(plugin.Initialize());
        EXPECT_FALSE(plugin.IsLoaded());
        EXPECT_EQ(plugin.GetObject(), nullptr);
    }
    StandInClr::Fail(L"");
    MemoryPackage broken(L"Broken");
    broken.BreakListing();
    Plugin plugin(&host, &broken);
    EXPECT_FALSE(plugin.Initialize());
    MemoryPackage empty(L"Empty");
    Plugin none(&host, &empty);
    EXPECT_FALSE(none.Initialize());
}

// A plug-in without a package loads the assembly file at its path through
// the loader; without a path it does not load, and nothing reads a package.
TEST_F(PluginLoadTest, APluginWithoutAPackageLoadsFromItsAssemblyPathOrNotAtAll)
{
    Plugin pathless(&host, nullptr);
    EXPECT_FALSE(pathless.Initialize());
    EXPECT_FALSE(pathless.IsLoaded());
    EXPECT_TRUE(standIn.LogOf({L"Loader."}).empty());

    // The stand-in runtime loads no assembly files: the road is taken and
    // its failure unloads the plug-in.
    Plugin fromFile(&host, nullptr);
    fromFile.SetAssemblyPath(MKString(L"C:\\Plugins\\TestA.dll"));
    EXPECT_FALSE(fromFile.Initialize());
    EXPECT_FALSE(fromFile.IsLoaded());
    EXPECT_EQ(fromFile.GetObject(), nullptr);
    EXPECT_EQ(standIn.LogOf({L"Loader."}), Lines{L"Loader.LoadAssemblyFile(C:\\Plugins\\TestA.dll)"});
}

TEST_F(PluginLoadTest, APluginThatDoesNotAnswerLoadedUnloadsItself)
{
    MemoryPackage package(L"Package");
    package.AddAssembly(L"TestC, Version=1.0.0.0, Culture=neutral, PublicKeyToken=null", TestAssembly(L"TestC"), true);
    Plugin plugin(&host, &package);
    ASSERT_TRUE(plugin.Initialize());
    StandInClr::Fail(L"TestC.QueryLoaded");
    EXPECT_FALSE(plugin.QueryLoaded());
    EXPECT_FALSE(plugin.IsLoaded());
}

TEST_F(PluginLoadTest, PackageItemsComeOutInTaskMemory)
{
    MemoryPackage package(L"Package");
    package.AddEntry(L"data.bin", "abc");
    Plugin plugin(&host, &package);
    void* bytes = nullptr;
    int size = 0;
    ASSERT_TRUE(plugin.ReadPackageItem(L"data.bin", &bytes, &size));
    ASSERT_EQ(size, 3);
    EXPECT_EQ(memcmp(bytes, "abc", 3), 0);
    CoTaskMemFree(bytes);
    EXPECT_FALSE(plugin.ReadPackageItem(L"missing.bin", &bytes, &size));
    EXPECT_EQ(bytes, nullptr);
    EXPECT_EQ(size, 0);
}

}  // namespace
