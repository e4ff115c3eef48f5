// The built VistelloAddIn.dll, loaded by the stand-in PowerPoint from its
// Office entry, starting the plug-ins of its installation in the stand-in
// .NET runtime: the start sequence, events reaching the kernel, the ribbon
// the plug-ins extend, the failures of the start, and the shut-down.
#include "AddInTestSupport.h"
#include "ScratchInstallation.h"
#include "fixtures/ComScope.h"
#include "fixtures/ErrorBoxWatcher.h"
#include "fixtures/StandInClr.h"
#include "fixtures/VariantArgs.h"

#include "standins/powerpoint/ApplicationObject.h"
#include "standins/powerpoint/CallLog.h"
#include "standins/powerpoint/ComAddInObject.h"
#include "standins/powerpoint/EventArgumentObjects.h"
#include "standins/powerpoint/PowerPointHost.h"
#include "standins/powerpoint/PresentationObject.h"
#include "standins/powerpoint/RibbonHost.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

using standin::CallLog;
using standin::PowerPointHost;

namespace {

using Lines = std::vector<std::wstring>;

const wchar_t kLoaderName[] = L"quintarel, Version=1.0.0.0, Culture=neutral, PublicKeyToken=5f3b9c6e2d1a4087";

// The start as the stand-in runtime logs it, up to the identities of the
// objects handed over (lines ending in a space).
const Lines kStartSequence = {
    L"CorBindToRuntimeEx(null, wks, 0x11)",
    L"Runtime.Start",
    L"Runtime.CreateDomain(VistelloDomain)",
    L"Domain.Loaded(" + std::wstring(kLoaderName) + L")",
    L"Assembly.CreateInstance(Brelix.Vistello.PPTPluginLoader)",
    L"Domain.Loaded(Vistello.Kernel, Version=2.1.0.5, Culture=neutral, PublicKeyToken=null)",
    L"Kernel.StartKernel ",
    L"Kernel.Initialize(Vistello Kernel)",
    L"Kernel.SetCallback ",
    L"Domain.Loaded(TestA, Version=1.0.0.0, Culture=neutral, PublicKeyToken=null)",
    L"TestA.Initialize(Test Plug-in A)",
    L"Domain.Loaded(TestB, Version=1.0.0.0, Culture=neutral, PublicKeyToken=null)",
    L"TestB.Initialize(Test Plug-in B)",
    L"Kernel.OnStarted",
};
const Lines kStartPrefixes = {L"CorBindToRuntimeEx", L"Runtime.Start", L"Runtime.CreateDomain", L"Domain.Loaded",
                              L"Assembly.CreateInstance", L"Kernel.StartKernel", L"Kernel.Initialize",
                              L"Kernel.SetCallback", L"TestA.Initialize", L"TestB.Initialize", L"Kernel.OnStarted"};

const Lines kStopSequence = {L"TestB.Shutdown", L"TestA.Shutdown", L"Kernel.Shutdown",
                             L"Runtime.UnloadDomain(VistelloDomain)", L"Runtime.Stop"};
const Lines kStopPrefixes = {L"TestB.Shutdown", L"TestA.Shutdown", L"Kernel.Shutdown", L"Runtime.UnloadDomain",
                             L"Runtime.Stop"};

// The lines cut after the expected ones that end in a space.
Lines UpToIdentities(Lines log, const Lines& expected)
{
    for (size_t i = 0; i < log.size() && i < expected.size(); ++i) {
        if (!expected[i].empty() && expected[i].back() == L' ' && log[i].size() > expected[i].size())
            log[i] = log[i].substr(0, expected[i].size());
    }
    return log;
}

std::wstring IdentityOf(IUnknown* object)
{
    IUnknown* identity = nullptr;
    object->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity));
    identity->Release();
    wchar_t text[16];
    swprintf(text, 16, L"%08lX", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(identity)));
    return text;
}

size_t CountCalls(const std::wstring& call)
{
    const auto& entries = CallLog::Get().Entries();
    return static_cast<size_t>(std::count(entries.begin(), entries.end(), call));
}

class BuiltAddInPluginTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CallLog::Get().Clear();
        CallLog::Get().SetRecording(true);
    }
    void TearDown() override
    {
        CallLog::Get().SetRecording(false);
        CallLog::Get().ClearFailures();
        CallLog::Get().Clear();
        SetEnvironmentVariableW(L"VISTELLO_CLR_CANCEL", nullptr);
    }

    ComScope com;
    StandInClr clr;
    ErrorBoxWatcher boxes;
};

TEST_F(BuiltAddInPluginTest, TheKernelAndThePluginsStartInOrderBeforeTheEventsAreAdvised)
{
    ScratchInstallation install(L"full");
    ASSERT_EQ(install.Registered(), S_OK);
    PowerPointHost host(L"14.0");
    host.Start();
    ASSERT_TRUE(host.AddIn(L"Vistello.AddIn")->IsConnected());
    EXPECT_TRUE(boxes.Texts().empty());
    EXPECT_EQ(UpToIdentities(clr.LogOf(kStartPrefixes), kStartSequence), kStartSequence);
    EXPECT_EQ(CountCalls(L"ConnectionPoint.Advise"), 1u);
    host.Shutdown();
}

TEST_F(BuiltAddInPluginTest, TheKernelAsksForTheSystemReportAndGetsTheAddInsTables)
{
    ScratchInstallation install(L"full");
    std::wstring path = install.Folder() + L"\\report.txt";
    SetEnvironmentVariableW(L"VISTELLO_CLR_REPORT", path.c_str());
    PowerPointHost host(L"14.0");
    host.Start();
    SetEnvironmentVariableW(L"VISTELLO_CLR_REPORT", nullptr);
    EXPECT_EQ(clr.LogOf({L"Kernel.Report"}), Lines{L"Kernel.Report 0"});
    std::wstring report;
    if (FILE* file = _wfopen(path.c_str(), L"rb")) {
        wchar_t buffer[4096];
        size_t read;
        while ((read = fread(buffer, sizeof(wchar_t), 4096, file)) > 0)
            report.append(buffer, read);
        fclose(file);
    }
    EXPECT_EQ(report.rfind(L"Operating System: ", 0), 0u) << report;
    // The tables as they are at the kernel's start: PowerPoint lists this
    // add-in, served from its installation.
    size_t tables = report.find(L"PowerPoint COM Add-Ins:\n-----------------------\n");
    ASSERT_NE(tables, std::wstring::npos) << report;
    std::wstring rest = report.substr(tables);
    EXPECT_NE(rest.find(L"Vistello.AddIn"), std::wstring::npos) << rest;
    EXPECT_NE(rest.find(install.Folder() + L"\\VistelloAddIn.dll\n"), std::wstring::npos) << rest;
    EXPECT_NE(rest.find(L"\nFile Versions:\n--------------\nVistello Version 2.1.0.5\nGuid: {"), std::wstring::npos)
        << rest;
    EXPECT_NE(rest.find(L"Installation Directory: " + install.Folder() + L"\n"), std::wstring::npos) << rest;
    size_t addOns = rest.find(L"\nAdd-ons:\n-----------\n");
    ASSERT_NE(addOns, std::wstring::npos) << rest;
    EXPECT_EQ(rest.substr(addOns),
              L"\nAdd-ons:\n-----------\n"
              L"#    Name                          Version            Guid                                   InternalName\n"
              L"---  ----                          -------            ----                                   ------------\n"
              L"#1   Kernel                        2.1.0.5            {b80321f4-6a3c-48c1-89a9-fdcff7ba605a} Vistello Kernel\n"
              L"#2   TestA                         1.0.0.0            {0a1b2c3d-0000-4000-8000-00000000000a} Test Plug-in A\n"
              L"#3   TestB                         1.0.0.0            {0a1b2c3d-0000-4000-8000-00000000000b} Test Plug-in B\n"
              L"\n");
    host.Shutdown();
}

TEST_F(BuiltAddInPluginTest, EventsReachTheKernelAndItsCancelAnswerReachesPowerPoint)
{
    ScratchInstallation install(L"full");
    PowerPointHost host(L"14.0");
    host.Start();
    standin::PresentationObject* presentation = host.App().AddPresentation(L"Events.pptx");
    clr.ClearLog();
    host.App().Raise(PowerPoint::DISPID_PresentationOpen, {DispatchArg(static_cast<IDispatch*>(presentation))});
    EXPECT_EQ(clr.LogOf({L"Kernel.PresentationOpen"}),
              Lines{L"Kernel.PresentationOpen " + IdentityOf(static_cast<IDispatch*>(presentation))});

    PowerPoint::Selection* selection = standin::NewSelection();
    for (int answer : {1, 0}) {
        SetEnvironmentVariableW(L"VISTELLO_CLR_CANCEL", std::to_wstring(answer).c_str());
        VARIANT_BOOL cancel = answer ? VARIANT_FALSE : VARIANT_TRUE;
        VARIANT flag = TypedArg(VT_BYREF | VT_BOOL);
        flag.pboolVal = &cancel;
        host.App().Raise(PowerPoint::DISPID_WindowBeforeRightClick, {DispatchArg(selection), flag});
        EXPECT_EQ(cancel, answer ? VARIANT_TRUE : VARIANT_FALSE);
    }
    EXPECT_EQ(clr.LogOf({L"Kernel.WindowBeforeRightClick"}).size(), 2u);
    selection->Release();
    host.Shutdown();
}

TEST_F(BuiltAddInPluginTest, ThePluginsRibbonXmlReachesPowerPointAndAClickReachesItsHandler)
{
    ScratchInstallation install(L"full");
    PowerPointHost host(L"14.0");
    host.Start();
    // Office asks for the ribbon before the start-up completes; connected
    // later, the add-in has its plug-ins started when it is asked.
    standin::ComAddInObject* addIn = host.AddIn(L"Vistello.AddIn");
    addIn->DisconnectAddIn(Office::ext_dm_UserClosed);
    ASSERT_EQ(addIn->ConnectAddIn(Office::ext_cm_AfterStartup), S_OK);
    standin::RibbonHost* ribbon = host.Ribbon(L"Vistello.AddIn");
    ASSERT_NE(ribbon, nullptr);
    std::wstring xml = ribbon->Xml();
    EXPECT_NE(xml.find(L"<tab id=\"VistelloTab\" "), std::wstring::npos) << xml;
    EXPECT_NE(xml.find(L"<group id=\"TestAHomeGroup\" label=\"Test A\"/>"), std::wstring::npos) << xml;
    size_t at = xml.find(L"<button id=\"_vqz_");
    ASSERT_NE(at, std::wstring::npos) << xml;
    std::wstring id = xml.substr(at + 12, xml.find(L'"', at + 12) - at - 12);
    EXPECT_EQ(ribbon->CallOnLoad(), S_OK);
    ribbon->ShowControls();
    EXPECT_EQ(ribbon->ShownValue(L"VistelloTab", L"getLabel"), L"Vistello");
    EXPECT_EQ(ribbon->ShownValue(L"VistelloTab", L"getKeytip"), L"M");
    clr.ClearLog();
    EXPECT_EQ(ribbon->InvokeControl(id, L"onAction"), S_OK);
    EXPECT_EQ(clr.LogOf({L"TestAHandler."}), Lines{L"TestAHandler.InvokeMethod(OnClick) 0"});
    host.Shutdown();
}

TEST_F(BuiltAddInPluginTest, EachFailedStartShowsItsMessageAndNoEventIsAdvised)
{
    struct Case {
        const char* what;
        const wchar_t* installation;
        std::function<void()> arrange;
        const wchar_t* reason;
    };
    const Case cases[] = {
        {"no plug-in list", L"none", [] {}, L"The application is not properly installed."},
        {"no .NET 2.0 service pack", L"full", [] { StandInClr::SetServicePack(-1); },
         L"Microsoft .NET Framework 2.0 SP1 or later is required."},
        {"no loader type", L"no_loader_type", [] {}, L"An unexpected error occurred."},
        {"the kernel refuses its callback", L"full", [] { StandInClr::Fail(L"Kernel.SetCallback"); },
         L"Error initializing Vistello Kernel Module."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchInstallation install(c.installation);
        c.arrange();
        boxes.Clear();
        CallLog::Get().Clear();
        clr.ClearLog();
        {
            PowerPointHost host(L"14.0");
            host.Start();
            EXPECT_TRUE(host.AddIn(L"Vistello.AddIn")->IsConnected());
            EXPECT_EQ(boxes.Texts(), Lines{std::wstring(L"Vistello cannot be started:\r\n") + c.reason});
            EXPECT_EQ(CountCalls(L"ConnectionPoint.Advise"), 0u);
            host.App().Raise(PowerPoint::DISPID_PresentationOpen,
                             {DispatchArg(static_cast<IDispatch*>(host.App().AddPresentation(L"Failed.pptx")))});
            EXPECT_TRUE(clr.LogOf({L"Kernel.PresentationOpen", L"Kernel.OnStarted"}).empty());
            host.Shutdown();
        }
        EXPECT_EQ(GetModuleHandleW(L"mscoree.dll"), nullptr);
        StandInClr::Fail(L"");
        StandInClr::SetServicePack(1);
    }
}

TEST_F(BuiltAddInPluginTest, ShutDownUnloadsEverythingAndAReconnectionStartsAgain)
{
    ScratchInstallation install(L"full");
    PowerPointHost host(L"14.0");
    host.Start();
    standin::ComAddInObject* addIn = host.AddIn(L"Vistello.AddIn");
    ASSERT_TRUE(addIn->IsConnected());
    ASSERT_NE(GetModuleHandleW(L"mscoree.dll"), nullptr);
    clr.ClearLog();
    addIn->DisconnectAddIn(Office::ext_dm_UserClosed);
    EXPECT_EQ(clr.LogOf(kStopPrefixes), kStopSequence);
    EXPECT_EQ(GetModuleHandleW(L"mscoree.dll"), nullptr);

    clr.ClearLog();
    ASSERT_EQ(addIn->ConnectAddIn(Office::ext_cm_AfterStartup), S_OK);
    EXPECT_EQ(UpToIdentities(clr.LogOf(kStartPrefixes), kStartSequence), kStartSequence);
    EXPECT_TRUE(boxes.Texts().empty());
    host.Shutdown();
    EXPECT_EQ(GetModuleHandleW(L"mscoree.dll"), nullptr);
}

}  // namespace
