// The plug-in manager over the stand-in .NET runtime: the start sequence with
// the kernel and further plug-ins of the installed list, its four failures
// and their messages, events reaching the kernel, lookups, and the stop.
#include "CoreTestSupport.h"
#include "fixtures/InprocServerRegistration.h"
#include "fixtures/Fixtures.h"

#include "addin/core/KernelHostObject.h"
#include "addin/core/KernelPlugin.h"
#include "addin/core/RibbonControlHandler.h"
#include "addin/core/SystemReport.h"
#include "addin/effects/Plugin.h"
#include "addin/hosting/PlayerVersionCache.h"
#include "addin/hosting/PlayerVersionProbes.h"

#include "base/MKTextBuffer.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using Lines = std::vector<std::wstring>;

MKString Text(BSTR text)
{
    return MKString(text ? text : L"");
}

const Lines kEventLines = {L"CorBindToRuntimeEx", L"Runtime.", L"Domain.Load", L"Assembly.CreateInstance", L"Kernel.",
                           L"TestA.", L"TestB.", L"Loader.GetKernelVersion"};

TEST_F(AddInCoreTest, StartLoadsTheLoaderTheKernelAndThePluginsThenStopUnloadsThemLastToFirst)
{
    {
        AddInCore core(&host);
        host.core = &core;
        ASSERT_TRUE(core.Start());
        EXPECT_TRUE(host.errors.empty());
        ASSERT_EQ(core.GetPluginCount(), 3);
        EXPECT_EQ(core.GetPluginAt(1)->GetName(), MKString(L"TestA"));
        EXPECT_TRUE(host.environment.kernelVersion.IsPresent());
        EXPECT_EQ(host.environment.netFramework.GetValue(), MKString(L".NET Framework 2.0.50727.1433 SP1"));
        EXPECT_EQ(core.GetKernelVersion().ToString(), MKString(L"2.1.0.5"));
        Lines started = {L"CorBindToRuntimeEx(null, wks, 0x11)",
                         L"Runtime.Start",
                         L"Runtime.CreateDomain(VistelloDomain)",
                         L"Domain.Load_3",
                         L"Domain.Loaded(quintarel, Version=1.0.0.0, Culture=neutral, PublicKeyToken=5f3b9c6e2d1a4087)",
                         L"Assembly.CreateInstance(Brelix.Vistello.PPTPluginLoader)",
                         L"Loader.GetKernelVersion",
                         L"Domain.Load_3",
                         L"Domain.Loaded(" + std::wstring(kKernelName) + L")",
                         L"Kernel.GetGuid",
                         L"Kernel.GetName",
                         L"Kernel.StartKernel " ,
                         L"Kernel.Initialize(Kernel Package)",
                         L"Kernel.SetCallback ",
                         L"Kernel.QueryLoaded",
                         L"Domain.Load_3",
                         L"Domain.Loaded(" + PluginName(L"TestA") + L")",
                         L"TestA.GetGuid",
                         L"TestA.GetName",
                         L"TestA.Initialize(First Package)",
                         L"Domain.Load_3",
                         L"Domain.Loaded(" + PluginName(L"TestB") + L")",
                         L"TestB.GetGuid",
                         L"TestB.GetName",
                         L"TestB.Initialize(Second Package)",
                         L"TestA.QueryLoaded",
                         L"TestB.QueryLoaded",
                         L"Kernel.OnStarted"};
        Lines log = clr.LogOf(kEventLines);
        // The identities of the objects handed over vary: compare up to them.
        for (size_t i = 0; i < log.size() && i < started.size(); ++i) {
            if (started[i].back() == L' ')
                log[i] = log[i].substr(0, started[i].size());
        }
        EXPECT_EQ(log, started);
        clr.ClearLog();
        core.Stop();
        EXPECT_EQ(core.GetPluginCount(), 0);
        EXPECT_EQ(GetModuleHandleW(L"mscoree.dll"), nullptr);
    }
    Lines stopped = {L"TestB.Shutdown",        L"TestA.Shutdown",   L"Kernel.Shutdown", L"Runtime.UnloadDomain(VistelloDomain)",
                     L"Runtime.Stop"};
    EXPECT_EQ(clr.LogOf({L"TestB.Shutdown", L"TestA.Shutdown", L"Kernel.Shutdown", L"Runtime.UnloadDomain",
                         L"Runtime.Stop"}),
              stopped);
    EXPECT_EQ(host.callback.refs, 1u);
    EXPECT_EQ(host.detached, 4);
    EXPECT_EQ(host.kernelHost.refs, 1u);
}

TEST_F(AddInCoreTest, EachStartFailureShowsItsMessage)
{
    struct Case {
        const char* what;
        std::function<void()> arrange;
        const wchar_t* reason;
    };
    const Case cases[] = {
        {"no plug-in list", [&] { host.list.loadResult = 1; }, L"The application is not properly installed."},
        {"no kernel first", [&] { host.list.kernelFirst = false; }, L"The application is not properly installed."},
        {"no service pack", [&] { StandInClr::SetServicePack(-1); },
         L"Microsoft .NET Framework 2.0 SP1 or later is required."},
        {"no loader type", [&] { StandInClr::Fail(L"Assembly.CreateInstance"); }, L"An unexpected error occurred."},
        {"kernel refuses its callback", [&] { StandInClr::Fail(L"Kernel.SetCallback"); },
         L"Error initializing Vistello Kernel Module."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestCoreHost fresh;
        fresh.list = host.list;
        std::swap(fresh.list, host.list);
        c.arrange();
        std::swap(fresh.list, host.list);
        AddInCore core(&fresh);
        fresh.core = &core;
        EXPECT_FALSE(core.Start());
        EXPECT_EQ(fresh.errors, Lines{std::wstring(L"Vistello cannot be started:\r\n") + c.reason});
        EXPECT_FALSE(core.IsStarted());
        EXPECT_TRUE(clr.LogOf({L"Kernel.OnStarted"}).empty());
        core.Stop();
        StandInClr::Fail(L"");
        StandInClr::SetServicePack(1);
    }
}

TEST_F(AddInCoreTest, PluginsThatFailOrRepeatAGuidAreDropped)
{
    MemoryPackage repeat(L"Repeat Package");
    repeat.AddAssembly(PluginName(L"TestC"), PluginAssembly(L"TestC", L"0a1b2c3d-0000-4000-8000-00000000000a"), true);
    host.list.packages.push_back(&repeat);
    host.list.enabled.push_back(true);
    host.list.enabled[2] = false;
    StandInClr::Fail(L"TestA.QueryLoaded");
    AddInCore core(&host);
    host.core = &core;
    ASSERT_TRUE(core.Start());
    // TestA unloaded itself when asked; TestB is disabled; TestC repeats TestA's GUID,
    // which was still listed when TestC came.
    ASSERT_EQ(core.GetPluginCount(), 1);
    EXPECT_TRUE(host.errors.empty());
}

TEST_F(AddInCoreTest, EventsReachTheKernelAndTheBeforeEventsTakeItsAnswer)
{
    AddInCore core(&host);
    host.core = &core;
    VARIANT_BOOL cancel = 5;
    // Without the kernel the answer stays as it was.
    core.ForwardWindowBeforeRightClick(nullptr, &cancel);
    EXPECT_EQ(cancel, 5);
    ASSERT_TRUE(core.Start());
    CountedDispatch presentation;
    core.ForwardPresentationOpen(reinterpret_cast<PowerPoint::Presentation*>(&presentation));
    wchar_t identity[16];
    swprintf(identity, 16, L"%08lX", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(&presentation)));
    EXPECT_EQ(clr.LogOf({L"Kernel.PresentationOpen"}), Lines{std::wstring(L"Kernel.PresentationOpen ") + identity});
    SetEnvironmentVariableW(L"VISTELLO_CLR_CANCEL", L"1");
    core.ForwardWindowBeforeRightClick(nullptr, &cancel);
    EXPECT_EQ(cancel, VARIANT_TRUE);
    SetEnvironmentVariableW(L"VISTELLO_CLR_CANCEL", L"0");
    core.ForwardWindowBeforeDoubleClick(&cancel);
    EXPECT_EQ(cancel, VARIANT_FALSE);
    int32_t answer = 0;
    EXPECT_TRUE(core.QueryKernel(3, nullptr, &answer));
    EXPECT_EQ(answer, -1);
    EXPECT_TRUE(core.ShowKernelMessage(L"Fatal Error", L"text"));
    EXPECT_EQ(clr.LogOf({L"Kernel.ShowMessage"}), Lines{L"Kernel.ShowMessage Fatal Error|text"});
    core.Stop();
    EXPECT_FALSE(core.QueryKernel(3, nullptr, &answer));
}

TEST_F(AddInCoreTest, EffectTypesRegisterThroughTheCoreAndDeclareTheirUsage)
{
    GUID type = MakeGuid(L"6D1F2A3B-4C5D-4E6F-8A9B-0C1D2E3F4A5B");
    first.AddType(type, L"Type A");
    AddInCore core(&host);
    host.core = &core;
    ASSERT_TRUE(core.Start());
    EffectDataRecord* record = nullptr;
    EXPECT_EQ(core.GetPluginAt(1)->RegisterEffectType(type, &record), 1);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(host.features, std::vector<uint32_t>{record->GetUsageId()});
    BSTR contentType = SysAllocString(record->GetContentType().GetText());
    EXPECT_EQ(core.FindEffectTypeByContentType(contentType), record);
    SysFreeString(contentType);
    EXPECT_EQ(core.FindEffectTypeByContentType(static_cast<BSTR>(nullptr)), nullptr);
    EXPECT_EQ(core.FindPluginByGuid(MakeGuid(L"0a1b2c3d-0000-4000-8000-00000000000b")), core.GetPluginAt(2));
    core.Stop();
    EXPECT_EQ(core.GetEffectTypes().GetIndexLimit(), 0);
}

// A plug-in that adds one group with one button to the Home tab.
std::string RibbonPluginBytes()
{
    return StandInAssembly(PluginName(L"TestR"))
        .Type(L"Test.TestR", {{L"Kind", L"plugin"},
                              {L"Guid", L"0a1b2c3d-0000-4000-8000-00000000000c"},
                              {L"Name", L"TestR"},
                              {L"TabId", L"TabHome"},
                              {L"TabXml", L"<group id=\"TestGroup\"><button id=\"$ID\" label=\"Run\" onAction=\"OnClick\"/></group>"}})
        .Bytes();
}

TEST_F(AddInCoreTest, APluginAddsItsTabXmlAndItsHandlerAnswersTheRibbon)
{
    MemoryPackage ribbon(L"Ribbon Package");
    ribbon.AddAssembly(PluginName(L"TestR"), RibbonPluginBytes(), true);
    host.list.packages.push_back(&ribbon);
    host.list.enabled.push_back(true);
    AddInCore core(&host);
    host.core = &core;
    ASSERT_TRUE(core.Start());
    EXPECT_EQ(clr.LogOf({L"TestR.AddTabXml"}), Lines{L"TestR.AddTabXml 1"});
    MKString xml;
    ASSERT_TRUE(core.GetRibbonModel().BuildCustomUI(xml));
    std::wstring text = xml.GetText();
    EXPECT_NE(text.find(L"<tab idMso=\"TabHome\"><group id=\"TestGroup\">"), std::wstring::npos) << text;
    size_t at = text.find(L"<button id=\"_vqz_");
    ASSERT_NE(at, std::wstring::npos) << text;
    std::wstring id = text.substr(at + 12, 5 + 32);
    RibbonControlHandler* handler = core.FindControlHandler(id.c_str());
    ASSERT_NE(handler, nullptr);
    EXPECT_EQ(handler->OnClick(nullptr), S_OK);
    EXPECT_EQ(clr.LogOf({L"TestRHandler."}), Lines{L"TestRHandler.InvokeMethod(OnClick) 0"});
    EXPECT_EQ(core.FindControlHandler(L"_vqz_other"), nullptr);
}

TEST_F(AddInCoreTest, AStopTakesThePluginsRibbonFragmentsAlongSoARestartAddsThemOnce)
{
    MemoryPackage ribbon(L"Ribbon Package");
    ribbon.AddAssembly(PluginName(L"TestR"), RibbonPluginBytes(), true);
    host.list.packages.push_back(&ribbon);
    host.list.enabled.push_back(true);
    AddInCore core(&host);
    host.core = &core;
    auto count = [](const std::wstring& text, const wchar_t* what) {
        int n = 0;
        for (size_t at = text.find(what); at != std::wstring::npos; at = text.find(what, at + 1))
            ++n;
        return n;
    };
    for (int connection = 1; connection <= 3; ++connection) {
        SCOPED_TRACE(connection);
        ASSERT_TRUE(core.Start());
        MKString xml;
        ASSERT_TRUE(core.GetRibbonModel().BuildCustomUI(xml));
        std::wstring text = xml.GetText();
        EXPECT_EQ(count(text, L"<group id=\"TestGroup\">"), 1) << text;
        EXPECT_EQ(count(text, L"<tab idMso=\"TabHome\">"), 1) << text;
        EXPECT_EQ(count(text, L"<button id=\"_vqz_"), 1) << text;
        core.Stop();
        // Stopped, the ribbon is the product's alone again.
        ASSERT_TRUE(core.GetRibbonModel().BuildCustomUI(xml));
        text = xml.GetText();
        EXPECT_EQ(text.find(L"TestGroup"), std::wstring::npos) << text;
        EXPECT_EQ(text.find(L"TabHome"), std::wstring::npos) << text;
    }
}

TEST_F(AddInCoreTest, TheApiObjectChecksAddressesAndAnswersUnknownSlotsAsNotImplemented)
{
    AddInCore core(&host);
    host.core = &core;
    first.AddType(MakeGuid(L"6D1F2A3B-4C5D-4E6F-8A9B-0C1D2E3F4A5B"), L"Type A");
    ASSERT_TRUE(core.Start());
    Plugin* plugin = core.GetPluginAt(1);
    IPluginApi* api = nullptr;
    IUnknown* made = host.MakeApiObject(plugin);
    ASSERT_EQ(made->QueryInterface(IID_IPluginApi, reinterpret_cast<void**>(&api)), S_OK);
    made->Release();
    BSTR name = nullptr;
    BSTR description = nullptr;
    BSTR version = nullptr;
    long value = -1;
    long usage = -1;
    long index = -1;
    EXPECT_EQ(api->RegisterEffectType(0, &name, &description, &version, &value, &usage, &index), E_INVALIDARG);
    EXPECT_EQ(api->RegisterEffectType(16, &name, &description, &version, &value, &usage, &index), E_INVALIDARG);
    GUID unknown = MakeGuid(L"99999999-2222-3333-4444-555555555555");
    EXPECT_EQ(api->RegisterEffectType(static_cast<long>(reinterpret_cast<UINT_PTR>(&unknown)), &name, &description,
                                      &version, &value, &usage, &index),
              S_OK);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(name, nullptr);
    GUID type = MakeGuid(L"6D1F2A3B-4C5D-4E6F-8A9B-0C1D2E3F4A5B");
    EXPECT_EQ(api->RegisterEffectType(static_cast<long>(reinterpret_cast<UINT_PTR>(&type)), &name, &description,
                                      &version, &value, &usage, &index),
              S_OK);
    EXPECT_EQ(index, 1);
    EXPECT_STREQ(name, L"Type A");
    EXPECT_STREQ(version, L"1.2.3.4");
    EXPECT_EQ(static_cast<uint32_t>(usage), EffectDataRecord::UsageIdOf(type));
    SysFreeString(name);
    SysFreeString(description);
    SysFreeString(version);
    // The same type again: the plug-in answers -1, which the API passes on
    // as 0 with every other output empty.
    index = -7;
    value = -7;
    EXPECT_EQ(core.GetPluginAt(1)->RegisterEffectType(type, nullptr), -1);
    EXPECT_EQ(api->RegisterEffectType(static_cast<long>(reinterpret_cast<UINT_PTR>(&type)), &name, &description,
                                      &version, &value, &usage, &index),
              S_OK);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(value, 0);
    EXPECT_EQ(usage, 0);
    EXPECT_EQ(name, nullptr);
    EXPECT_EQ(version, nullptr);
    BSTR key = nullptr;
    EXPECT_EQ(api->RegisterContent(5, 6, &key), S_OK);
    EXPECT_EQ(SysStringLen(key), 32u);
    EXPECT_NE(plugin->GetContent().Find(Text(key)), nullptr);
    SysFreeString(key);
    BSTR empty = SysAllocString(L"");
    EXPECT_EQ(api->InvalidateRibbon(empty), S_OK);
    EXPECT_EQ(host.invalidated, Lines{L""});
    EXPECT_EQ(api->AddCustomElementXml(empty, empty), S_FALSE);
    SysFreeString(empty);
    EXPECT_EQ(api->GetSlideShowLog(nullptr, &value, &usage, &index), E_FAIL);
    EXPECT_EQ(api->Invoke(1, IID_NULL, 0, DISPATCH_METHOD, nullptr, nullptr, nullptr, nullptr), E_NOTIMPL);
    // Once its plug-in unloaded, the object refuses.
    static_cast<PluginApiObject*>(api)->Detach();
    EXPECT_EQ(api->RegisterContent(5, 6, &key), E_FAIL);
    api->Release();
}

TEST_F(AddInCoreTest, CallsIntoAnEffectTypeReachThePluginThatRegisteredItByName)
{
    GUID open = MakeGuid(L"6D1F2A3B-4C5D-4E6F-8A9B-0C1D2E3F4A5B");
    GUID closed = MakeGuid(L"6D1F2A3C-4C5D-4E6F-8A9B-0C1D2E3F4A5B");
    second.AddType(open, L"Open type");
    second.AddType(closed, L"Closed type", 0);
    AddInCore core(&host);
    host.core = &core;
    ASSERT_TRUE(core.Start());
    ASSERT_EQ(core.GetPluginAt(2)->RegisterEffectType(open, nullptr), 1);
    ASSERT_EQ(core.GetPluginAt(2)->RegisterEffectType(closed, nullptr), 2);
    // Plug-in A calls into B's types through its own API object.
    IPluginApi* api = nullptr;
    IUnknown* made = host.MakeApiObject(core.GetPluginAt(1));
    ASSERT_EQ(made->QueryInterface(IID_IPluginApi, reinterpret_cast<void**>(&api)), S_OK);
    made->Release();
    BSTR text = SysAllocString(L"text");
    clr.ClearLog();
    long result = -1;
    IUnknown* data = reinterpret_cast<IUnknown*>(1);
    EXPECT_EQ(api->CallTypeMethod(7, 1, text, &result), S_OK);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(api->CallTypeMethodWithData(7, 1, text, 1, 2, 3), S_OK);
    EXPECT_EQ(api->QueryTypeData(7, 1, text, 1, 2, 3, &data), S_OK);
    EXPECT_EQ(data, nullptr);
    EXPECT_EQ(api->NotifyType(7, 1, text, 4), S_OK);
    EXPECT_EQ(clr.LogOf({L"TestA.InvokeMethod", L"TestB.InvokeMethod"}),
              (Lines{L"TestB.InvokeMethod(CallTypeMethod) 3", L"TestB.InvokeMethod(CallTypeMethodWithData) 6",
                     L"TestB.InvokeMethod(QueryTypeData) 6", L"TestB.InvokeMethod(NotifyType) 4"}));
    // Index 0, an index beyond the table, and a type without flags are refused.
    for (long index : {0L, 3L, 2L}) {
        SCOPED_TRACE(index);
        EXPECT_EQ(api->CallTypeMethod(7, index, text, &result), E_FAIL);
        EXPECT_EQ(api->CallTypeMethodWithData(7, index, text, 1, 2, 3), E_FAIL);
        EXPECT_EQ(api->QueryTypeData(7, index, text, 1, 2, 3, &data), E_FAIL);
        EXPECT_EQ(api->NotifyType(7, index, text, 4), E_FAIL);
    }
    SysFreeString(text);
    api->Release();
}

TEST_F(AddInCoreTest, TheSlideShowsCallsIntoAPluginReachItsInterface)
{
    GUID type = MakeGuid(L"6D1F2A3B-4C5D-4E6F-8A9B-0C1D2E3F4A5B");
    first.AddType(type, L"Type A");
    AddInCore core(&host);
    host.core = &core;
    ASSERT_TRUE(core.Start());
    Plugin* plugin = core.GetPluginAt(1);
    EffectDataRecord* record = nullptr;
    ASSERT_EQ(plugin->RegisterEffectType(type, &record), 1);
    CountedDispatch shape;
    clr.ClearLog();
    // The stand-in plug-in makes no effect objects: its calls fail.
    EXPECT_EQ(plugin->CreateShapeEffect(&shape, *record), nullptr);
    EXPECT_EQ(plugin->CreateEffectContent(&shape, 9), nullptr);
    EXPECT_EQ(plugin->CreateEffectContent(nullptr, 9), nullptr);
    plugin->ReportTypeFailure(*record);
    wchar_t identity[16];
    swprintf(identity, 16, L"%08lX", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(&shape)));
    EXPECT_EQ(clr.LogOf({L"TestA.Create", L"TestA.Report"}),
              (Lines{std::wstring(L"TestA.CreateShapeEffect ") + identity + L" 1",
                     std::wstring(L"TestA.CreateEffectContent ") + identity + L" 9", L"TestA.ReportTypeFailure 1"}));
    // Slide-show objects may hold the type beyond its plug-in's life.
    record->AddRef();
    plugin->Unload();
    clr.ClearLog();
    plugin->ReportTypeFailure(*record);
    EXPECT_EQ(plugin->CreateShapeEffect(&shape, *record), nullptr);
    EXPECT_TRUE(clr.LogOf({L"TestA."}).empty());
    record->Release();
}

TEST_F(AddInCoreTest, TheAddOnTableListsThePluginsInOrderWithTheirPackages)
{
    AddInCore core(&host);
    host.core = &core;
    MKTextBuffer out;
    WriteAddOnTable(&core, out);
    const std::wstring heading =
        L"#    Name                          Version            Guid                                   InternalName\n"
        L"---  ----                          -------            ----                                   ------------\n";
    EXPECT_EQ(std::wstring(out.GetText()), heading);
    ASSERT_TRUE(core.Start());
    out.Clear();
    WriteAddOnTable(&core, out);
    EXPECT_EQ(std::wstring(out.GetText()),
              heading +
                  L"#1   Kernel                        1.0.0.0            {b80321f4-6a3c-48c1-89a9-fdcff7ba605a} Kernel Package\n"
                  L"#2   TestA                         1.0.0.0            {0a1b2c3d-0000-4000-8000-00000000000a} First Package\n"
                  L"#3   TestB                         1.0.0.0            {0a1b2c3d-0000-4000-8000-00000000000b} Second Package\n");
}

TEST_F(AddInCoreTest, TheKernelHostAnswersTheInstalledPlayerVersionsOrNull)
{
    AddInCore core(&host);
    KernelHostObject* object = new KernelHostObject(&core, &host);
    IKernelHost* kernelHost = object;
    BSTR version = reinterpret_cast<BSTR>(1);
    // Outside the module's life there is no cache: nothing is installed.
    EXPECT_EQ(kernelHost->GetFlashVersion(&version), S_OK);
    EXPECT_EQ(version, nullptr);
    PlayerVersionCache cache;
    host.players = &cache;
    InprocServerRegistration flash{kFlashPlayerControlClsid};
    InprocServerRegistration quickTime{kQuickTimeControlClsid};
    flash.Unregister();
    quickTime.Unregister();
    EXPECT_EQ(kernelHost->GetFlashVersion(&version), S_OK);
    EXPECT_EQ(version, nullptr);
    ASSERT_TRUE(flash.Register(TestsBinPath(L"player_stub_a.dll")));
    ASSERT_TRUE(quickTime.Register(TestsBinPath(L"player_stub_b.dll")));
    EXPECT_EQ(kernelHost->GetFlashVersion(&version), S_OK);
    EXPECT_STREQ(version, L"32.0.0.101");
    SysFreeString(version);
    EXPECT_EQ(kernelHost->GetQuickTimeVersion(&version), S_OK);
    EXPECT_STREQ(version, L"11.2.202.235");
    SysFreeString(version);
    EXPECT_EQ(kernelHost->GetQuickTimeVersion(nullptr), E_POINTER);
    kernelHost->Release();
}

TEST_F(AddInCoreTest, TheKernelHostAnswersItsTableAndChecksBuffers)
{
    AddInCore core(&host);
    host.core = &core;
    KernelHostObject* object = new KernelHostObject(&core, &host);
    IKernelHost* kernelHost = object;
    EffectDataRecord* record = new EffectDataRecord(nullptr, MakeGuid(L"6D1F2A3B-4C5D-4E6F-8A9B-0C1D2E3F4A5B"),
                                                    PackageTypeInfo());
    ASSERT_EQ(core.GetEffectTypes().Register(record), 1);
    long state = -1;
    // The first registered type is index 1, and usable.
    EXPECT_EQ(kernelHost->GetEffectTypeState(0, &state), E_INVALIDARG);
    EXPECT_EQ(kernelHost->GetEffectTypeState(2, &state), E_INVALIDARG);
    EXPECT_EQ(kernelHost->GetEffectTypeState(1, &state), S_OK);
    EXPECT_EQ(state, 0);
    record->SetStateFlag(1, true);
    EXPECT_EQ(kernelHost->GetEffectTypeState(1, &state), S_OK);
    EXPECT_EQ(state, 1);
    record->SetStateFlag(0, true);
    EXPECT_EQ(kernelHost->GetEffectTypeState(1, &state), S_OK);
    EXPECT_EQ(state, 2);
    EXPECT_EQ(kernelHost->CountEffectTypeUse(1), S_OK);
    EXPECT_EQ(kernelHost->CountEffectTypeUse(0), S_OK);
    for (long kind : {0L, 1L, 2L, 3L})
        EXPECT_EQ(kernelHost->CountUse(kind), S_OK);
    EXPECT_EQ(host.uses, (std::vector<uint32_t>{record->GetUsageId(), 1, 2}));
    record->Release();

    const char text[] = "compress me, compress me, compress me, compress me";
    char packed[128];
    char unpacked[128];
    long produced = -1;
    long ok = -1;
    auto address = [](const void* p) { return static_cast<long>(reinterpret_cast<UINT_PTR>(p)); };
    for (long raw : {0L, 1L}) {
        SCOPED_TRACE(raw);
        ASSERT_EQ(kernelHost->CompressBuffer(address(text), 50, address(packed), 128, 9, raw, &produced, &ok), S_OK);
        ASSERT_EQ(ok, 1);
        long packedLength = produced;
        ASSERT_EQ(kernelHost->UncompressBuffer(address(packed), packedLength, address(unpacked), 128, raw, &produced,
                                               &ok),
                  S_OK);
        EXPECT_EQ(ok, 1);
        EXPECT_EQ(produced, 50);
        EXPECT_EQ(memcmp(unpacked, text, 50), 0);
    }
    // Buffers that name no memory, or memory that may not be written.
    EXPECT_EQ(kernelHost->CompressBuffer(16, 50, address(packed), 128, 9, 0, &produced, &ok), S_OK);
    EXPECT_EQ(ok, 0);
    EXPECT_EQ(kernelHost->CompressBuffer(address(text), 50, address(L"constant"), 8, 9, 0, &produced, &ok), S_OK);
    EXPECT_EQ(ok, 0);
    EXPECT_EQ(produced, 0);

    long width = -1;
    long height = -1;
    EXPECT_EQ(kernelHost->GetImageFileSize(L"C:\\missing.png", &width, nullptr, &ok), E_POINTER);
    EXPECT_EQ(kernelHost->GetImageFileSize(L"C:\\missing.png", &width, &height, &ok), S_OK);
    EXPECT_EQ(ok, 0);
    EXPECT_EQ(width, 0);
    BSTR version = nullptr;
    EXPECT_EQ(kernelHost->GetKernelVersion(&version), S_OK);
    EXPECT_STREQ(version, L"0.0");
    SysFreeString(version);
    IDispatch* request = nullptr;
    EXPECT_EQ(kernelHost->CreateHttpRequest(&request), S_OK);
    ASSERT_NE(request, nullptr);
    request->Release();
    EXPECT_EQ(kernelHost->StopSlideShow(), S_OK);
    EXPECT_EQ(host.stoppedShows, 1);
    EXPECT_EQ(kernelHost->Invoke(1, IID_NULL, 0, DISPATCH_METHOD, nullptr, nullptr, nullptr, nullptr), E_NOTIMPL);
    IUnknown* same = nullptr;
    EXPECT_EQ(kernelHost->QueryInterface(IID_IKernelHost, reinterpret_cast<void**>(&same)), S_OK);
    same->Release();
    EXPECT_EQ(kernelHost->QueryInterface(IID_IPluginApi, reinterpret_cast<void**>(&same)), E_NOINTERFACE);
    kernelHost->Release();
}

}  // namespace
