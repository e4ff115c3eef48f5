// The Office connection of an add-in linked into the test: connect modes, the
// facts it records, the failures it survives and the accessors built on it.
#include "fixtures/EmulatedCpu.h"
#include "AddInTestSupport.h"
#include "LinkedAddIn.h"
#include "fixtures/ComScope.h"
#include "fixtures/Fixtures.h"
#include "fixtures/ScratchOffice.h"
#include "fixtures/StandInClr.h"

#include "addin/core/AddInGuard.h"
#include "addin/core/AppEventSink.h"
#include "addin/core/EnvironmentInfo.h"
#include "addin/core/OfficeInfo.h"
#include "base/MKSeh.h"
#include "standins/powerpoint/ApplicationObject.h"
#include "standins/powerpoint/CallLog.h"
#include "standins/powerpoint/ComAddInsObject.h"
#include "standins/powerpoint/LanguageSettingsObject.h"
#include "standins/powerpoint/OfficeInstallation.h"
#include "standins/powerpoint/PowerPointHost.h"
#include "standins/powerpoint/PresentationObject.h"
#include "standins/powerpoint/SlideShowSettingsObject.h"

#include <gtest/gtest.h>

#include <string.h>

using standin::PowerPointHost;

namespace {

std::vector<std::wstring> g_errorBoxes;

class ConnectionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_errorBoxes.clear();
        m_box = SetErrorBoxFunction([](const wchar_t* text) { g_errorBoxes.push_back(text); });
    }
    void TearDown() override
    {
        SetErrorBoxFunction(m_box);
        for (const auto& text : g_errorBoxes)
            ADD_FAILURE() << "error box: " << std::string(text.begin(), text.end());
        standin::CallLog::Get().ClearFailures();
    }

    ComScope com;
    // The linked add-ins start the plug-ins installed beside the test program.
    StandInClr clr;
    ErrorBoxFunction m_box = nullptr;
};

TEST_F(ConnectionTest, StartUpRunsOncePerConnectionAndOnlyAfterItWhenConnectedAtStartUp)
{
    PowerPointHost host(L"14.0");
    IDispatch* application = host.App().AsDispatch();
    struct Case {
        long mode;
        bool startedAtOnce;
    };
    for (Case c : {Case{Office::ext_cm_Startup, false}, Case{Office::ext_cm_AfterStartup, true},
                   Case{Office::ext_cm_External, true}, Case{Office::ext_cm_CommandLine, true}}) {
        LinkedAddIn linked;
        ASSERT_NE(linked.connection, nullptr);
        EXPECT_EQ(linked.connection->OnConnection(application, c.mode, nullptr, nullptr), S_OK);
        EXPECT_EQ(linked.connection->IsStarted(), c.startedAtOnce) << c.mode;
        EXPECT_EQ(linked.connection->GetEventSink()->IsAdvised(), c.startedAtOnce) << c.mode;
        EXPECT_EQ(linked.connection->OnStartupComplete(nullptr), S_OK);
        EXPECT_TRUE(linked.connection->IsStarted());
        EXPECT_EQ(linked.connection->OnStartupComplete(nullptr), S_OK);
        EXPECT_TRUE(linked.connection->IsStarted());
        EXPECT_TRUE(linked.connection->GetEventSink()->IsAdvised());
        // The advised sink holds the add-in until PowerPoint lets it go.
        EXPECT_EQ(linked.connection->OnDisconnection(Office::ext_dm_HostShutdown, nullptr), S_OK);
        EXPECT_FALSE(linked.connection->GetEventSink()->IsAdvised());
    }
}

TEST_F(ConnectionTest, DisconnectingLetsPowerPointGoAndAllowsANewConnection)
{
    PowerPointHost host(L"14.0");
    LinkedAddIn linked;
    MKComHolder<PowerPoint::Application> application;
    EXPECT_FALSE(linked.addIn->GetApplication(application));
    ASSERT_EQ(linked.connection->OnConnection(host.App().AsDispatch(), Office::ext_cm_AfterStartup,
                                              host.App().AsDispatch(), nullptr),
              S_OK);
    EXPECT_TRUE(linked.addIn->GetApplication(application));
    application.Release();

    // The user closed it: the shut-down steps run twice, harmlessly.
    EXPECT_EQ(linked.connection->OnBeginShutdown(nullptr), S_OK);
    EXPECT_EQ(linked.connection->OnDisconnection(Office::ext_dm_UserClosed, nullptr), S_OK);
    EXPECT_FALSE(linked.connection->IsStarted());
    EXPECT_FALSE(linked.addIn->GetApplication(application));

    EXPECT_EQ(linked.connection->OnConnection(host.App().AsDispatch(), Office::ext_cm_AfterStartup, nullptr, nullptr),
              S_OK);
    EXPECT_TRUE(linked.connection->IsStarted());
    EXPECT_TRUE(linked.addIn->GetApplication(application));
    EXPECT_EQ(linked.connection->OnConnection(nullptr, Office::ext_cm_AfterStartup, nullptr, nullptr), E_POINTER);
    EXPECT_EQ(linked.connection->OnAddInsUpdate(nullptr), S_OK);
}

TEST_F(ConnectionTest, TheFirstConnectionRecordsPowerPointAndOfficeAndLaterOnesChangeNothing)
{
    ScratchFolder folder;
    standin::OfficeInstallation office = ScratchOffice(folder, 11, {11, 0, 8169, 0}, {11, 0, 8173, 0});
    ASSERT_TRUE(office.Install());

    PowerPointHost host(L"11.0");
    const int languages[5] = {1031, 1036, 1040, 1033, 3082};
    for (long kind = 1; kind <= 5; ++kind)
        host.App().Languages()->SetLanguageId(kind, languages[kind - 1]);
    LinkedAddIn linked;
    EnvironmentInfo* environment = linked.addIn->GetEnvironmentInfo();
    ASSERT_NE(environment, nullptr);
    EXPECT_EQ(environment->systemLocale.GetValue(), static_cast<int32_t>(GetSystemDefaultLCID()));
    EXPECT_EQ(environment->userLocale.GetValue(), static_cast<int32_t>(GetUserDefaultLCID()));
    EXPECT_FALSE(environment->powerPointVersionText.IsPresent());

    ASSERT_EQ(linked.connection->OnConnection(host.App().AsDispatch(), Office::ext_cm_Startup, nullptr, nullptr), S_OK);
    EXPECT_STREQ(environment->powerPointVersionText.GetValue().GetText(), L"11.0");
    EXPECT_EQ(environment->officeProductCode.GetValue(), 1103);
    EXPECT_STREQ(environment->officeProductName.GetValue().GetText(), L"Microsoft Office 2003 (SP3)");
    EXPECT_TRUE(SameVersion(environment->msoVersion.GetValue(), 11, 0, 8173, 0));
    EXPECT_TRUE(SameVersion(environment->powerPointVersion.GetValue(), 11, 0, 8169, 0));
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(environment->officeLanguages[i].GetValue(), languages[i]) << i;
    ASSERT_NE(linked.addIn->GetOfficeInfo(), nullptr);
    EXPECT_EQ(linked.addIn->GetOfficeInfo()->GetInstallRoot(), MKString(folder.File(L"Office11\\").c_str()));

    // A reconnection to another version re-detects Office but keeps the facts.
    ASSERT_EQ(linked.connection->OnDisconnection(Office::ext_dm_UserClosed, nullptr), S_OK);
    host.App().SetVersion(L"9");
    host.App().Languages()->SetLanguageId(2, 1049);
    ASSERT_EQ(linked.connection->OnConnection(host.App().AsDispatch(), Office::ext_cm_AfterStartup, nullptr, nullptr),
              S_OK);
    EXPECT_STREQ(environment->powerPointVersionText.GetValue().GetText(), L"11.0");
    EXPECT_EQ(environment->officeProductCode.GetValue(), 1103);
    EXPECT_EQ(environment->officeLanguages[1].GetValue(), 1036);
    EXPECT_EQ(linked.addIn->GetOfficeInfo()->GetProductCode(), 900);
    office.Remove();
}

TEST_F(ConnectionTest, TheMajorVersionIsTheTextBeforeTheFirstPointAndUnknownOfficeFallsBackToIt)
{
    struct Case {
        const wchar_t* version;
        int code;
        int major;
    };
    for (Case c : {Case{L"9.5", 900, 9}, Case{L"15", 1500, 15}, Case{L"16.0.1", 1600, 16}}) {
        PowerPointHost host(c.version);
        LinkedAddIn linked;
        ASSERT_EQ(linked.connection->OnConnection(host.App().AsDispatch(), Office::ext_cm_Startup, nullptr, nullptr),
                  S_OK);
        const OfficeInfo* office = linked.addIn->GetOfficeInfo();
        EXPECT_EQ(office->GetProductCode(), c.code) << c.version;
        EXPECT_TRUE(SameVersion(office->GetVersion(), c.major, 0, -1, -1)) << c.version;
        EXPECT_EQ(office->GetProductName(), nullptr);
        // The record holds what detection left, before the fallback.
        EXPECT_EQ(linked.addIn->GetEnvironmentInfo()->officeProductCode.GetValue(), 0);
        EXPECT_STREQ(linked.addIn->GetEnvironmentInfo()->officeProductName.GetValue().GetText(), L"None");
    }
}

TEST_F(ConnectionTest, LanguagesThatCannotBeReadAreZeroAndWithoutLanguageSettingsNothingIsStored)
{
    PowerPointHost host(L"15.0");
    standin::CallLog::Get().Fail(L"LanguageSettings.get_LanguageID", E_FAIL, 1, 1);
    {
        LinkedAddIn linked;
        linked.connection->OnConnection(host.App().AsDispatch(), Office::ext_cm_Startup, nullptr, nullptr);
        EnvironmentInfo* environment = linked.addIn->GetEnvironmentInfo();
        EXPECT_TRUE(environment->officeLanguages[1].IsPresent());
        EXPECT_EQ(environment->officeLanguages[1].GetValue(), 0);
        EXPECT_EQ(environment->officeLanguages[2].GetValue(), 1033);
    }
    host.App().Fail(L"get_LanguageSettings", E_FAIL);
    LinkedAddIn linked;
    linked.connection->OnConnection(host.App().AsDispatch(), Office::ext_cm_Startup, nullptr, nullptr);
    for (const MKOptional<int32_t>& language : linked.addIn->GetEnvironmentInfo()->officeLanguages)
        EXPECT_FALSE(language.IsPresent());
}

TEST_F(ConnectionTest, AHostThatIsNotPowerPointIsConnectedWithoutItsFacts)
{
    PowerPointHost host(L"14.0");
    LinkedAddIn linked;
    // Office's language settings object answers IDispatch but not _Application.
    IDispatch* notPowerPoint = host.App().Languages();
    EXPECT_EQ(linked.connection->OnConnection(notPowerPoint, Office::ext_cm_AfterStartup, nullptr, nullptr), S_OK);
    EXPECT_TRUE(linked.connection->IsStarted());
    // Its start-up ran, but there are no events to advise on.
    EXPECT_FALSE(linked.connection->GetEventSink()->IsAdvised());
    MKComHolder<PowerPoint::Application> application;
    EXPECT_FALSE(linked.addIn->GetApplication(application));
    EXPECT_FALSE(linked.addIn->GetEnvironmentInfo()->powerPointVersionText.IsPresent());
    EXPECT_FALSE(linked.addIn->GetEnvironmentInfo()->officeLanguages[0].IsPresent());
    HWND window = reinterpret_cast<HWND>(1);
    EXPECT_EQ(linked.addIn->GetMainWindow(&window), E_FAIL);
    EXPECT_EQ(window, nullptr);
}

// What the guard handed to the thread's report callback.
struct Reported {
    int count = 0;
    int32_t code = 0;
    wchar_t description[32] = {};
    int32_t kind = -1;
    AddIn* addIn = nullptr;
} s_reported;

void RecordReport(MKExceptionInfo& record)
{
    const auto& guard = reinterpret_cast<const AddInGuardRecord&>(record);
    ++s_reported.count;
    s_reported.code = guard.info.code;
    memcpy(s_reported.description, guard.info.description, sizeof(s_reported.description));
    s_reported.kind = guard.kind;
    s_reported.addIn = guard.addIn;
}

TEST_F(ConnectionTest, AFaultInsideAComMethodAnswersUnexpectedWithTheFaultRecordedAndTheHostGoesOn)
{
    SKIP_WITHOUT_REAL_FAULTS();
    PowerPointHost host(L"14.0");
    MKSehInstall(&RecordReport);
    s_reported = Reported();
    {
        LinkedAddIn linked;
        // An application pointer to unreadable memory: the first call through
        // it faults inside OnConnection.
        auto* broken = reinterpret_cast<IDispatch*>(static_cast<uintptr_t>(0x10));
        EXPECT_EQ(linked.connection->OnConnection(broken, Office::ext_cm_Startup, nullptr, nullptr), E_UNEXPECTED);
        EXPECT_EQ(s_reported.count, 1);
        EXPECT_EQ(static_cast<uint32_t>(s_reported.code), 0xC0000005u);
        EXPECT_STREQ(s_reported.description, L"Access Violation");
        EXPECT_EQ(s_reported.kind, kGuardAddIn);
        EXPECT_EQ(s_reported.addIn, linked.addIn);

        // The add-in and PowerPoint carry on.
        EXPECT_EQ(linked.connection->OnConnection(host.App().AsDispatch(), Office::ext_cm_AfterStartup, nullptr,
                                                  nullptr),
                  S_OK);
        EXPECT_TRUE(linked.connection->IsStarted());
        EXPECT_STREQ(linked.addIn->GetEnvironmentInfo()->powerPointVersionText.GetValue().GetText(), L"14.0");
        EXPECT_EQ(s_reported.count, 1);
    }
    MKUninstallSehTranslator();
}

TEST_F(ConnectionTest, TheAccessorsFindPowerPointsWindowAddInsShowsAndPresentations)
{
    const wchar_t listedEntry[] = L"Software\\Microsoft\\Office\\PowerPoint\\AddIns\\AddInCoreTests.Listed";
    WriteDword(HKEY_CURRENT_USER, listedEntry, L"LoadBehavior", 0);
    PowerPointHost host(L"14.0");
    LinkedAddIn linked;
    HWND window = nullptr;
    EXPECT_EQ(linked.addIn->GetMainWindow(&window), E_FAIL);
    ASSERT_EQ(linked.connection->OnConnection(host.App().AsDispatch(), Office::ext_cm_AfterStartup, nullptr, nullptr),
              S_OK);
    EXPECT_EQ(linked.addIn->GetMainWindow(&window), S_OK);
    EXPECT_EQ(window, host.App().MainWindow());

    MKComHolder<Office::COMAddIns> addIns;
    ASSERT_TRUE(linked.addIn->GetComAddIns(addIns));
    ASSERT_EQ(addIns->Update(), S_OK);
    MKComHolder<Office::COMAddIn> found;
    EXPECT_TRUE(linked.addIn->FindComAddIn(L"AddInCoreTests.Listed", found));
    EXPECT_FALSE(linked.addIn->FindComAddIn(L"addincoretests.listed", found));
    EXPECT_FALSE(bool(found));
    RegDeleteTreeW(HKEY_CURRENT_USER, listedEntry);

    standin::PresentationObject* idle = host.App().AddPresentation(L"Idle.pptx");
    idle->AddSlide();
    standin::PresentationObject* shown = host.App().AddPresentation(L"Shown.pptx");
    shown->AddSlide();
    PowerPoint::SlideShowWindow* show = nullptr;
    ASSERT_EQ(shown->Settings()->Run(&show), S_OK);
    long handle = 0;
    show->get_HWND(&handle);
    HWND showWindow = reinterpret_cast<HWND>(static_cast<LONG_PTR>(handle));

    MKComHolder<PowerPoint::SlideShowWindow> foundShow;
    EXPECT_TRUE(linked.addIn->FindSlideShowWindow(showWindow, foundShow));
    EXPECT_EQ(foundShow.Get(), show);
    EXPECT_FALSE(linked.addIn->FindSlideShowWindow(host.App().MainWindow(), foundShow));
    EXPECT_FALSE(linked.addIn->FindSlideShowWindow(reinterpret_cast<HWND>(0x1234), foundShow));

    MKComHolder<PowerPoint::Presentation> presentation;
    EXPECT_TRUE(linked.addIn->FindPresentationForShowWindow(show, presentation));
    EXPECT_EQ(presentation.Get(), static_cast<PowerPoint::Presentation*>(shown));
    EXPECT_FALSE(linked.addIn->FindPresentationForShowWindow(nullptr, presentation));
    show->Release();

    host.App().Fail(L"get_HWND", E_FAIL);
    EXPECT_EQ(linked.addIn->GetMainWindow(&window), E_FAIL);
    EXPECT_EQ(window, nullptr);
}

}  // namespace
