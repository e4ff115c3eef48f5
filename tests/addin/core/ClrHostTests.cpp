// The .NET runtime host over the stand-in runtime: detection of the runtime
// 2.0 with a service pack, binding, the domain, the assembly catalogue,
// loading byte images, creating objects and late-bound calls, and stopping.
#include "fixtures/StandInClr.h"
#include "AddInTestSupport.h"
#include "fixtures/ComScope.h"
#include "fixtures/StandInAssembly.h"

#include "addin/core/AssemblyName.h"
#include "addin/core/ClrHost.h"
#include "addin/effects/ClrObject.h"
#include "addin/core/RuntimeVersions.h"
#include "base/MKSafeArray.h"

#include <gtest/gtest.h>

#include <memory>
#include <string.h>

namespace {

using Lines = std::vector<std::wstring>;

bool FillImage(MKSafeArray& array, const std::string& bytes)
{
    if (!array.Create(static_cast<int>(bytes.size())))
        return false;
    memcpy(array.AccessData(), bytes.data(), bytes.size());
    array.Unaccess();
    return true;
}

AssemblyName* Load(ClrHost& host, const StandInAssembly& assembly)
{
    MKSafeArray image(VT_UI1);
    if (!FillImage(image, assembly.Bytes()))
        return nullptr;
    return host.LoadAssemblyImage(image, nullptr);
}

class ClrHostTest : public ::testing::Test {
protected:
    ComScope com;
    StandInClr clr;
};

TEST_F(ClrHostTest, StartBindsTheWorkstationRuntimeCreatesTheDomainAndStopUnloadsEverything)
{
    {
        ClrHost host;
        ASSERT_TRUE(host.Start(L"VistelloDomain", true));
        EXPECT_TRUE(host.IsBound());
        EXPECT_TRUE(SameVersion(host.GetRuntimeVersion(), 2, 0, 50727, -1));
        EXPECT_EQ(host.GetDomainName(), MKString(L"VistelloDomain"));
        // The runtime's core library was in the domain already.
        ASSERT_EQ(host.GetAssemblyCount(), 1);
        EXPECT_EQ(host.GetAssemblyAt(0)->GetSimpleName(), MKString(L"mscorlib"));
        EXPECT_NE(GetModuleHandleW(L"mscoree.dll"), nullptr);
        host.Stop();
        EXPECT_FALSE(host.IsBound());
        EXPECT_EQ(host.GetAssemblyCount(), 0);
        EXPECT_EQ(GetModuleHandleW(L"mscoree.dll"), nullptr);
        host.Stop();
    }
    Lines expected = {L"Loaded",
                      L"GetCORVersion",
                      L"CorBindToRuntimeEx(null, wks, 0x11)",
                      L"Runtime.Start",
                      L"Runtime.CreateDomain(VistelloDomain)",
                      L"Domain.GetAssemblies",
                      L"Runtime.UnloadDomain(VistelloDomain)",
                      L"Runtime.Stop",
                      L"Runtime.Released",
                      L"Unloaded"};
    EXPECT_EQ(clr.Log(), expected);
}

TEST_F(ClrHostTest, StartingABoundHostAgainKeepsItsDomainForUnloading)
{
    ClrHost host;
    ASSERT_TRUE(host.Start(L"VistelloDomain", true));
    EXPECT_TRUE(host.Start(nullptr, false));
    EXPECT_EQ(host.GetDomainName(), MKString(L"VistelloDomain"));
    host.Stop();
    EXPECT_EQ(clr.LogOf({L"Runtime.UnloadDomain"}), Lines{L"Runtime.UnloadDomain(VistelloDomain)"});
}

TEST_F(ClrHostTest, TheDefaultDomainIsNeverUnloaded)
{
    ClrHost host;
    ASSERT_TRUE(host.Start(nullptr, true));
    EXPECT_TRUE(host.GetDomainName().IsEmpty());
    host.Stop();
    EXPECT_EQ(clr.LogOf({L"Runtime.GetDefaultDomain", L"Runtime.UnloadDomain"}), Lines{L"Runtime.GetDefaultDomain"});
}

TEST_F(ClrHostTest, FailuresOfTheRuntimeFailTheStart)
{
    for (const wchar_t* call : {L"CorBindToRuntimeEx", L"Runtime.Start", L"Runtime.CreateDomain"}) {
        SCOPED_TRACE(call);
        StandInClr::Fail(call);
        ClrHost host;
        EXPECT_FALSE(host.Start(L"VistelloDomain", true));
        host.Stop();
        EXPECT_EQ(GetModuleHandleW(L"mscoree.dll"), nullptr);
    }
}

TEST_F(ClrHostTest, AssembliesLoadFromBytesAndMakeObjectsThatAnswerLateBoundCalls)
{
    ClrHost host;
    ASSERT_TRUE(host.Start(L"VistelloDomain", true));
    AssemblyName* loader = Load(host, LoaderAssembly(L"1.2.0.0"));
    ASSERT_NE(loader, nullptr);
    EXPECT_EQ(loader->GetSimpleName(), MKString(L"quintarel"));
    EXPECT_TRUE(SameVersion(loader->GetVersion(), 1, 2, 0, 0));
    EXPECT_TRUE(loader->GetToken().present);
    EXPECT_EQ(loader->GetToken().value, 0x5f3b9c6e2d1a4087ull);
    // Loading the same assembly again answers the recorded one.
    EXPECT_EQ(Load(host, LoaderAssembly(L"1.2.0.0")), loader);
    EXPECT_EQ(host.GetAssemblyCount(), 2);

    std::unique_ptr<ClrObject> object(loader->CreateInstance(L"Brelix.Vistello.PPTPluginLoader"));
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(loader->CreateInstance(L"Brelix.Vistello.Missing"), nullptr);
    VARIANT argument;
    VariantInit(&argument);
    argument.vt = VT_I4;
    argument.lVal = 7;
    EXPECT_EQ(object->InvokeMethod(L"OnClick", &argument, 1, nullptr), S_OK);
    StandInClr::Fail(L"Loader.OnAction");
    EXPECT_EQ(object->InvokeMethod(L"OnAction", nullptr, 0, nullptr), static_cast<HRESULT>(0x80131509));
    EXPECT_EQ(clr.LogOf({L"Loader.InvokeMethod"}),
              (Lines{L"Loader.InvokeMethod(OnClick) 1", L"Loader.InvokeMethod(OnAction) 0"}));

    // Bytes that are no assembly load nothing.
    EXPECT_EQ(Load(host, StandInAssembly(L"")), nullptr);
    // Objects of the runtime go before it does.
    object.reset();
    host.Stop();
    MKSafeArray image(VT_UI1);
    ASSERT_TRUE(FillImage(image, LoaderAssembly().Bytes()));
    EXPECT_EQ(host.LoadAssemblyImage(image, nullptr), nullptr);
}

TEST_F(ClrHostTest, AnImageWithSymbolsLoadsWithThem)
{
    ClrHost host;
    ASSERT_TRUE(host.Start(L"VistelloDomain", true));
    MKSafeArray image(VT_UI1);
    MKSafeArray symbols(VT_UI1);
    ASSERT_TRUE(FillImage(image, LoaderAssembly().Bytes()));
    ASSERT_TRUE(FillImage(symbols, "symbols"));
    EXPECT_NE(host.LoadAssemblyImage(image, &symbols), nullptr);
    EXPECT_EQ(clr.LogOf({L"Domain.Load"}), (Lines{L"Domain.Load_4 symbols 7",
                                                  L"Domain.Loaded(quintarel, Version=1.0.0.0, Culture=neutral, "
                                                  L"PublicKeyToken=5f3b9c6e2d1a4087)"}));
}

TEST_F(ClrHostTest, FindAssemblyMatchesTheMajorVersionAtLeastTheMinorAndTheToken)
{
    ClrHost host;
    ASSERT_TRUE(host.Start(L"VistelloDomain", true));
    struct Case {
        const wchar_t* name;
        bool found;
    };
    const Case cases[] = {
        {L"plug, Version=0.9.0.0, Culture=neutral, PublicKeyToken=null", false},
        {L"plug, Version=2.0.0.0, Culture=neutral, PublicKeyToken=0000000000000001", false},
        {L"plug, Version=1.5.0.0, Culture=neutral, PublicKeyToken=null", true},
        {L"plug, Version=1.7.3.1, Culture=neutral, PublicKeyToken=0000000000000001", true},
    };
    for (const Case& c : cases)
        ASSERT_NE(Load(host, StandInAssembly(c.name)), nullptr);
    AssemblyName* any = host.FindAssembly(L"plug", MKVersion(1, 0), false, 0);
    ASSERT_NE(any, nullptr);
    EXPECT_TRUE(SameVersion(any->GetVersion(), 1, 5, 0, 0));
    AssemblyName* signed_ = host.FindAssembly(L"plug", MKVersion(1, 0), true, 1);
    ASSERT_NE(signed_, nullptr);
    EXPECT_TRUE(SameVersion(signed_->GetVersion(), 1, 7, 3, 1));
    EXPECT_EQ(host.FindAssembly(L"plug", MKVersion(1, 8), false, 0), nullptr);
    EXPECT_EQ(host.FindAssembly(L"plug", MKVersion(3, 0), false, 0), nullptr);
    EXPECT_EQ(host.FindAssembly(L"plug", MKVersion(1, 0), true, 2), nullptr);
    EXPECT_EQ(host.FindAssembly(L"other", MKVersion(1, 0), false, 0), nullptr);
}

TEST_F(ClrHostTest, FullNamesParseIntoSimpleNameVersionAndToken)
{
    ClrHost host;
    ASSERT_TRUE(host.Start(L"VistelloDomain", true));
    struct Case {
        const wchar_t* fullName;
        const wchar_t* simple;
        MKVersion version;
        bool hasToken;
        unsigned long long token;
    };
    const Case cases[] = {
        {L"a, Version=1.2.3.4, Culture=neutral, PublicKeyToken=00ff00FF00ff00Fa", L"a", MKVersion(1, 2, 3, 4), true,
         0x00ff00ff00ff00faull},
        {L" b ,Version=3.1 , Culture=neutral,PublicKeyToken=null", L"b", MKVersion(3, 1), false, 0},
        {L"c, Version=1.0.0.0, Culture=neutral, PublicKeyToken=00ff00ff00ff00f", L"c", MKVersion(1, 0, 0, 0), false, 0},
        {L"d, Version=1.0.0.0, Culture=neutral, PublicKeyToken=00ff00ff00ff00fg", L"d", MKVersion(1, 0, 0, 0), false,
         0},
        {L"e, Version=x, Culture=neutral, PublicKeyToken=null", L"e", MKVersion(), false, 0},
        {L"f, Version=1.0.0.0, Culture=neutral", L"", MKVersion(), false, 0},
        {L"g, Version=1.0.0.0, Culture=neutral, PublicKeyToken=null, x", L"", MKVersion(), false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fullName);
        AssemblyName* name = Load(host, StandInAssembly(c.fullName));
        ASSERT_NE(name, nullptr);
        EXPECT_EQ(name->GetSimpleName(), MKString(c.simple));
        EXPECT_TRUE(name->GetVersion() == c.version);
        EXPECT_EQ(name->GetToken().present, c.hasToken);
        EXPECT_EQ(name->GetToken().value, c.token);
    }
}

TEST(AssemblyNameTest, DisplayNamesCarryTheVersionAndTheTokenOrNull)
{
    AssemblyToken token;
    EXPECT_EQ(AssemblyName::FormatDisplayName(L"plug", MKVersion(1, 2), token),
              MKString(L"plug, Version=1.2, Culture=neutral, PublicKeyToken=null"));
    token.present = true;
    token.value = 0xabcull;
    EXPECT_EQ(AssemblyName::FormatDisplayName(L"plug", MKVersion(1, 2, 3, 4), token),
              MKString(L"plug, Version=1.2.3.4, Culture=neutral, PublicKeyToken=0000000000000abc"));
}

// Answers every name, fails every call without filling exception information.
class SilentFailure final : public IDispatch {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override
    {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID* ids) override
    {
        ids[0] = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return DISP_E_TYPEMISMATCH;
    }

    ULONG refs = 1;
};

TEST(ClrObjectTest, ACallThatFailsWithoutExceptionInformationStillFails)
{
    SilentFailure object;
    std::unique_ptr<ClrObject> holder(ClrObject::Create(&object));
    ASSERT_NE(holder, nullptr);
    EXPECT_EQ(object.refs, 2u);
    EXPECT_EQ(holder->InvokeMethod(L"Run", nullptr, 0, nullptr), DISP_E_TYPEMISMATCH);
    holder.reset();
    EXPECT_EQ(object.refs, 1u);
    VARIANT empty;
    VariantInit(&empty);
    EXPECT_EQ(ClrObject::FromVariant(empty), nullptr);
    EXPECT_EQ(ClrObject::Create(nullptr), nullptr);
}

TEST_F(ClrHostTest, TheRequirementIsTheRuntime20WithAServicePack)
{
    EXPECT_TRUE(IsClrRequirementMet());
    RuntimeVersions versions;
    MKVersion version;
    EXPECT_TRUE(versions.IsRuntime2Installed(version));
    EXPECT_TRUE(SameVersion(version, 2, 0, 50727, 1433));
    EXPECT_EQ(GetRuntime2ServicePack(), 1);

    // Without "SP" in either key there is no service pack.
    StandInClr::SetServicePack(-1);
    EXPECT_EQ(GetRuntime2ServicePack(), 0);
    EXPECT_FALSE(IsClrRequirementMet());
    // The client profile's layer key stands in for the setup key.
    WriteDword(HKEY_LOCAL_MACHINE, StandInClr::kClientLayerKey, L"SP", 2);
    EXPECT_EQ(GetRuntime2ServicePack(), 2);
    EXPECT_TRUE(IsClrRequirementMet());
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, StandInClr::kSetupKey);
    EXPECT_FALSE(IsClrRequirementMet());
    WriteDword(HKEY_LOCAL_MACHINE, StandInClr::kClientLayerKey, L"Install", 1);
    EXPECT_TRUE(IsClrRequirementMet());
    // A runtime file that is missing is no runtime.
    WriteText(HKEY_LOCAL_MACHINE, StandInClr::kFrameworkKey, L"InstallRoot", L"C:\\nowhere\\");
    EXPECT_FALSE(IsClrRequirementMet());
}

TEST_F(ClrHostTest, RuntimeFilesFollowTheGenerations)
{
    RuntimeVersions versions;
    std::wstring root = StandInClr::FrameworkFolder();
    EXPECT_EQ(std::wstring(versions.GetRuntimeFile(RuntimeVersions::Net10).GetText()),
              root + L"v1.0.3705\\mscorwks.dll");
    EXPECT_EQ(std::wstring(versions.GetRuntimeFile(RuntimeVersions::Net11).GetText()),
              root + L"v1.1.4322\\mscorwks.dll");
    EXPECT_EQ(versions.GetRuntimeFile(RuntimeVersions::Net35), versions.GetRuntimeFile(RuntimeVersions::Net20));
    EXPECT_TRUE(SameVersion(versions.GetRuntimeVersion(RuntimeVersions::Net30), 2, 0, 50727, 1433));
    EXPECT_TRUE(SameVersion(versions.GetRuntimeVersion(RuntimeVersions::Net10), 0, 0, -1, -1));
    // The client profile of 4 without its InstallPath has no file.
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\NET Framework Setup\\NDP\\v4");
    EXPECT_TRUE(versions.GetRuntimeFile(RuntimeVersions::Net4Client).IsEmpty());
    EXPECT_TRUE(SameVersion(versions.GetRuntimeVersion(RuntimeVersions::Net4Client), 0, 0, -1, -1));
    EXPECT_TRUE(versions.GetRuntimeFile(6).IsEmpty());
}

}  // namespace
