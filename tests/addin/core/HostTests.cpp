// The built library as PowerPoint meets it: registered, created from its
// Office add-in entry by the stand-in PowerPoint, connected, shown slide-show
// windows, shut down and unloadable again.
#include "AddInTestSupport.h"
#include "ScratchInstallation.h"
#include "fixtures/ComScope.h"
#include "fixtures/ErrorBoxWatcher.h"
#include "fixtures/StandInClr.h"

#include "addin/core/AddInIds.h"
#include "hostapi/OfficeInterfaces.h"
#include "standins/powerpoint/ApplicationObject.h"
#include "standins/powerpoint/CallLog.h"
#include "standins/powerpoint/ComAddInObject.h"
#include "standins/powerpoint/PowerPointHost.h"
#include "standins/powerpoint/PresentationObject.h"
#include "standins/powerpoint/SlideShowSettingsObject.h"

#include <gtest/gtest.h>

#include <algorithm>

using standin::CallLog;
using standin::PowerPointHost;

namespace {

using Lines = std::vector<std::wstring>;

// The calls the add-in made between two notes of the host (Office's other
// add-ins, registered by other tests, may add their own before and after).
Lines Between(const std::wstring& first, const std::wstring& last)
{
    const Lines& entries = CallLog::Get().Entries();
    auto begin = std::find(entries.begin(), entries.end(), first);
    auto end = std::find(begin, entries.end(), last);
    if (begin == entries.end() || end == entries.end())
        return {L"<missing " + (begin == entries.end() ? first : last) + L">"};
    return Lines(begin + 1, end);
}

long Count(const std::wstring& entry)
{
    const Lines& entries = CallLog::Get().Entries();
    return static_cast<long>(std::count(entries.begin(), entries.end(), entry));
}

ULONG References(IUnknown* object)
{
    object->AddRef();
    return object->Release();
}

const Lines kConnectionCalls = {L"Application.get_Version",       L"Application.get_LanguageSettings",
                                L"LanguageSettings.get_LanguageID", L"LanguageSettings.get_LanguageID",
                                L"LanguageSettings.get_LanguageID", L"LanguageSettings.get_LanguageID",
                                L"LanguageSettings.get_LanguageID"};
const Lines kAdvise = {L"Application.FindConnectionPoint", L"ConnectionPoint.GetConnectionInterface",
                       L"ConnectionPoint.Advise"};
// Every start without an update's result first looks for the update add-in,
// which it would switch off, in PowerPoint's COM add-ins.
const Lines kUpdateAddInLookup = {L"Application.get_COMAddIns", L"COMAddIns.Item"};
const Lines kShowLookup = {L"Application.get_SlideShowWindows", L"SlideShowWindows.get_Count",
                           L"SlideShowWindows.Item", L"SlideShowWindow.get_HWND"};

class HostTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(install.Registered(), S_OK);
        CallLog::Get().Clear();
        CallLog::Get().SetRecording(true);
    }
    void TearDown() override
    {
        // A started add-in has nothing to complain of.
        for (const auto& text : boxes.Texts())
            ADD_FAILURE() << "error box: " << std::string(text.begin(), text.end());
        CallLog::Get().SetRecording(false);
        CallLog::Get().ClearFailures();
        CallLog::Get().Clear();
        RemoveAddInRegistration();
    }

    // Runs a show of a new one-slide presentation.
    static PowerPoint::SlideShowWindow* RunShow(PowerPointHost& host, const wchar_t* name)
    {
        standin::PresentationObject* presentation = host.App().AddPresentation(name);
        presentation->AddSlide();
        PowerPoint::SlideShowWindow* window = nullptr;
        presentation->Settings()->Run(&window);
        return window;
    }

    ComScope com;
    // The add-in starts the plug-ins of its installation.
    StandInClr clr;
    ErrorBoxWatcher boxes;
    ScratchInstallation install{L"full"};
    AddInLibrary& library = install.Library();
};

TEST_F(HostTest, PowerPointLoadsTheAddInFromItsEntryConnectsItAndLetsItGoAtShutDown)
{
    PowerPointHost host(L"14.0");
    ULONG before = References(host.App().AsDispatch());
    host.Start();
    standin::ComAddInObject* addIn = host.AddIn(L"Vistello.AddIn");
    ASSERT_NE(addIn, nullptr);
    ASSERT_TRUE(addIn->IsConnected());
    EXPECT_EQ(Between(L"AddIn.Create Vistello.AddIn 0", L"AddIn.OnConnection Vistello.AddIn 0"), kConnectionCalls);
    // The start-up ends with the application events advised: an event of the
    // wrong shape reaches the add-in's sink, which refuses it.
    Lines startUp = kUpdateAddInLookup;
    startUp.insert(startUp.end(), kAdvise.begin(), kAdvise.end());
    EXPECT_EQ(Between(L"Ribbon.GetCustomUI", L"Ribbon.OnLoad"), startUp);
    std::vector<HRESULT> answers = host.App().Raise(PowerPoint::DISPID_SlideShowBegin, {});
    EXPECT_NE(std::find(answers.begin(), answers.end(), DISP_E_BADPARAMCOUNT), answers.end());
    // Only the add-in holds PowerPoint's application beyond the host.
    EXPECT_GT(References(host.App().AsDispatch()), before);
    EXPECT_EQ(library.CanUnloadNow(), S_FALSE);

    host.Shutdown();
    EXPECT_FALSE(addIn->IsConnected());
    EXPECT_EQ(Count(L"AddIn.OnDisconnection Vistello.AddIn 0"), 1);
    EXPECT_EQ(Count(L"ConnectionPoint.Unadvise"), 1);
    answers = host.App().Raise(PowerPoint::DISPID_SlideShowBegin, {});
    EXPECT_EQ(std::find(answers.begin(), answers.end(), DISP_E_BADPARAMCOUNT), answers.end());
    EXPECT_EQ(References(host.App().AsDispatch()), before);
    EXPECT_EQ(library.CanUnloadNow(), S_OK);
}

TEST_F(HostTest, DisconnectingAndReconnectingThroughComAddInsMakesANewAddIn)
{
    PowerPointHost host(L"12.0");
    host.Start();
    standin::ComAddInObject* addIn = host.AddIn(L"Vistello.AddIn");
    ASSERT_NE(addIn, nullptr);
    EXPECT_EQ(addIn->put_Connect(VARIANT_FALSE), S_OK);
    EXPECT_EQ(library.CanUnloadNow(), S_OK);
    CallLog::Get().Clear();
    EXPECT_EQ(addIn->put_Connect(VARIANT_TRUE), S_OK);
    // Connected after PowerPoint's start: the start-up runs inside
    // OnConnection and ends with the events advised.
    Lines expected = kConnectionCalls;
    expected.insert(expected.end(), kUpdateAddInLookup.begin(), kUpdateAddInLookup.end());
    expected.insert(expected.end(), kAdvise.begin(), kAdvise.end());
    EXPECT_EQ(Between(L"AddIn.Create Vistello.AddIn 0", L"AddIn.OnConnection Vistello.AddIn 0"), expected);
    EXPECT_EQ(library.CanUnloadNow(), S_FALSE);
}

TEST_F(HostTest, ANewShowWindowIsLookedUpAfterPowerPointHasCreatedIt)
{
    PowerPointHost host(L"14.0");
    host.Start();
    ASSERT_TRUE(host.AddIn(L"Vistello.AddIn")->IsConnected());
    CallLog::Get().Clear();

    PowerPoint::SlideShowWindow* show = RunShow(host, L"First.pptx");
    ASSERT_NE(show, nullptr);
    // PowerPoint was inside the window's creation when the hook saw it: the
    // look-up waits for the message loop.
    EXPECT_EQ(Count(L"Application.get_SlideShowWindows"), 0);
    PowerPointHost::Pump(100);
    const Lines& entries = CallLog::Get().Entries();
    auto lookup = std::search(entries.begin(), entries.end(), kShowLookup.begin(), kShowLookup.end());
    EXPECT_NE(lookup, entries.end());
    EXPECT_EQ(Count(L"Application.get_SlideShowWindows"), 1);
    show->Release();

    // A top-level window of another class is not looked up, whatever its title.
    CallLog::Get().Clear();
    HWND other = CreateWindowExW(0, L"STATIC", L"[First.pptx]", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                 nullptr);
    PowerPointHost::Pump(100);
    DestroyWindow(other);
    EXPECT_EQ(Count(L"Application.get_SlideShowWindows"), 0);
}

TEST_F(HostTest, EveryAddInOfTheProcessLooksUpTheShowAndTheHookOutlivesOne)
{
    PowerPointHost host(L"14.0");
    host.Start();
    // A second add-in of the same process, connected after start-up.
    IClassFactory* factory = nullptr;
    ASSERT_EQ(library.GetClassObject(CLSID_VistelloAddIn, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
    Office::IDTExtensibility2* second = nullptr;
    ASSERT_EQ(factory->CreateInstance(nullptr, Office::IID_IDTExtensibility2, reinterpret_cast<void**>(&second)), S_OK);
    factory->Release();
    ASSERT_EQ(second->OnConnection(host.App().AsDispatch(), Office::ext_cm_External, nullptr, nullptr), S_OK);

    CallLog::Get().Clear();
    PowerPoint::SlideShowWindow* show = RunShow(host, L"Both.pptx");
    PowerPointHost::Pump(100);
    EXPECT_EQ(Count(L"Application.get_SlideShowWindows"), 2);
    show->Release();

    EXPECT_EQ(second->OnDisconnection(Office::ext_dm_UserClosed, nullptr), S_OK);
    second->Release();
    CallLog::Get().Clear();
    show = RunShow(host, L"One.pptx");
    PowerPointHost::Pump(100);
    EXPECT_EQ(Count(L"Application.get_SlideShowWindows"), 1);
    show->Release();
}

TEST_F(HostTest, TheClassObjectAnswersOnlyForTheAddInsClass)
{
    IUnknown* out = reinterpret_cast<IUnknown*>(1);
    EXPECT_EQ(library.GetClassObject(IID_IUnknown, IID_IClassFactory, reinterpret_cast<void**>(&out)),
              CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(library.GetClassObject(CLSID_VistelloAddIn, IID_IClassFactory, nullptr), E_POINTER);
    EXPECT_EQ(library.GetClassObject(CLSID_VistelloAddIn, IID_IDispatch, reinterpret_cast<void**>(&out)),
              E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(library.CanUnloadNow(), S_OK);
}

TEST_F(HostTest, FactoriesKeepTheServerLockedUntilTheLastGoes)
{
    IClassFactory* first = nullptr;
    IClassFactory* second = nullptr;
    ASSERT_EQ(library.GetClassObject(CLSID_VistelloAddIn, IID_IClassFactory, reinterpret_cast<void**>(&first)), S_OK);
    ASSERT_EQ(library.GetClassObject(CLSID_VistelloAddIn, IID_IUnknown, reinterpret_cast<void**>(&second)), S_OK);
    EXPECT_NE(first, second);
    EXPECT_EQ(library.CanUnloadNow(), S_FALSE);
    first->Release();
    EXPECT_EQ(library.CanUnloadNow(), S_FALSE);

    // LockServer holds a reference of its own.
    EXPECT_EQ(second->LockServer(TRUE), S_OK);
    second->Release();
    EXPECT_EQ(library.CanUnloadNow(), S_FALSE);
    EXPECT_EQ(second->LockServer(FALSE), S_OK);
    EXPECT_EQ(library.CanUnloadNow(), S_OK);
}

// A controlling object that aggregates the add-in and counts its references.
class Outer final : public IUnknown {
public:
    IUnknown* inner = nullptr;
    ULONG refs = 1;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (iid == IID_IUnknown) {
            *out = this;
            AddRef();
            return S_OK;
        }
        return inner->QueryInterface(iid, out);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
};

TEST_F(HostTest, TheAddInCanBeAggregatedAndItsConnectionSharesTheOutersCount)
{
    IClassFactory* factory = nullptr;
    ASSERT_EQ(library.GetClassObject(CLSID_VistelloAddIn, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
    Outer outer;
    IUnknown* out = reinterpret_cast<IUnknown*>(1);
    EXPECT_EQ(factory->CreateInstance(&outer, IID_IDispatch, reinterpret_cast<void**>(&out)), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IUnknown, nullptr), E_POINTER);
    ASSERT_EQ(factory->CreateInstance(&outer, IID_IUnknown, reinterpret_cast<void**>(&outer.inner)), S_OK);
    factory->Release();

    Office::IDTExtensibility2* connection = nullptr;
    ASSERT_EQ(outer.QueryInterface(Office::IID_IDTExtensibility2, reinterpret_cast<void**>(&connection)), S_OK);
    EXPECT_EQ(outer.refs, 2u);
    // The connection's identity is the outer object's.
    IUnknown* identity = nullptr;
    ASSERT_EQ(connection->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)), S_OK);
    EXPECT_EQ(identity, &outer);
    identity->Release();
    connection->Release();
    EXPECT_EQ(outer.refs, 1u);

    EXPECT_EQ(library.CanUnloadNow(), S_FALSE);
    outer.inner->Release();
    EXPECT_EQ(library.CanUnloadNow(), S_OK);
}

}  // namespace
