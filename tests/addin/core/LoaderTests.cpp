// The loader road played by a test loader: VistelloLoader_Create with the
// loader's records, the callbacks in the loader's order, and the add-in
// registering and connecting itself through the stand-in's COMAddIns.
#include "AddInTestSupport.h"
#include "fixtures/ComScope.h"
#include "ScratchInstallation.h"
#include "fixtures/StandInClr.h"

#include "standins/powerpoint/ApplicationObject.h"
#include "standins/powerpoint/CallLog.h"
#include "standins/powerpoint/ComAddInObject.h"
#include "standins/powerpoint/LanguageSettingsObject.h"
#include "standins/powerpoint/PowerPointHost.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string.h>

using standin::CallLog;
using standin::PowerPointHost;

namespace {

using Lines = std::vector<std::wstring>;

// The loader's window procedure: it learns its window on WM_NCCREATE, hands
// every message to the add-in and, once one is handled, destroys the link as
// the loader add-in does before it frees the library.
LRESULT CALLBACK LoaderWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* table = static_cast<LoaderCallbacks*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(table));
        table->window = window;
    }
    auto* table = reinterpret_cast<LoaderCallbacks*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!table || !table->windowProc)
        return DefWindowProcW(window, message, wParam, lParam);
    uint8_t handled = 0;
    LRESULT result = table->windowProc(table, window, message, wParam, lParam, &handled);
    if (handled) {
        table->destroy(table);
        void* loaderObject = table->loaderObject;
        memset(table, 0, sizeof(*table));
        table->loaderObject = loaderObject;
    }
    return result;
}

class LoaderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Installed as the loader road finds it: the class is known to COM,
        // Office has no entry of the add-in yet.
        ASSERT_EQ(install.Registered(), S_OK);
        RegDeleteTreeW(HKEY_CURRENT_USER, kUserEntry);
        table.loaderObject = &loaderObject;
        CallLog::Get().Clear();
        CallLog::Get().SetRecording(true);
    }
    void TearDown() override
    {
        if (table.destroy)
            table.destroy(&table);
        CallLog::Get().SetRecording(false);
        CallLog::Get().ClearFailures();
        CallLog::Get().Clear();
        RemoveAddInRegistration();
    }

    LoaderInfo Info(PowerPointHost& host) const
    {
        return LoaderInfo{28, 1, GetModuleHandleW(nullptr), host.App().AsDispatch(), nullptr, library.Module(), 0};
    }

    // The loader's road after a successful VistelloLoader_Create.
    bool StartAndPump()
    {
        if (table.needsStart(&table) != 1 || !table.start(&table, LoaderWindowProcedure))
            return false;
        PowerPointHost::Pump(100);
        return true;
    }

    static long Position(const std::wstring& entry)
    {
        const Lines& entries = CallLog::Get().Entries();
        auto found = std::find(entries.begin(), entries.end(), entry);
        return found == entries.end() ? -1 : static_cast<long>(found - entries.begin());
    }

    ComScope com;
    // The add-in starts the plug-ins of its installation.
    StandInClr clr;
    ScratchInstallation install{L"full"};
    AddInLibrary& library = install.Library();
    int loaderObject = 0;
    LoaderCallbacks table = {};
};

TEST_F(LoaderTest, TheAddInWritesItsEntryAndConnectsItselfThroughComAddIns)
{
    PowerPointHost host(L"14.0");
    host.Start();
    LoaderInfo info = Info(host);
    ASSERT_TRUE(library.LoaderCreate(&info, &table));
    EXPECT_EQ(table.loaderObject, &loaderObject);
    EXPECT_NE(table.link, nullptr);
    EXPECT_EQ(table.window, nullptr);
    ASSERT_TRUE(table.destroy && table.needsStart && table.start && table.windowProc);

    EXPECT_EQ(table.needsStart(&table), 1);
    ASSERT_TRUE(table.start(&table, LoaderWindowProcedure));
    HWND window = table.window;
    EXPECT_TRUE(IsWindow(window));
    // Nothing happens before the loader's own OnConnection has returned.
    EXPECT_EQ(Position(L"COMAddIns.Update"), -1);
    PowerPointHost::Pump(100);

    // Handled: the loader destroyed the link and its window.
    EXPECT_EQ(table.link, nullptr);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kUserEntry, L"LoadBehavior"), 3);
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kUserEntry, L"CommandLineSafe"), 0);
    EXPECT_EQ(ReadText(HKEY_CURRENT_USER, kUserEntry, L"FriendlyName"), L"Vistello");
    EXPECT_EQ(ReadText(HKEY_CURRENT_USER, kUserEntry, L"Description"),
              L"Vistello Add-In for Microsoft Office PowerPoint");
    ASSERT_NE(host.AddIn(L"Vistello.AddIn"), nullptr);
    EXPECT_TRUE(host.AddIn(L"Vistello.AddIn")->IsConnected());
    long update = Position(L"COMAddIns.Update");
    long connect = Position(L"COMAddIn.put_Connect");
    long created = Position(L"AddIn.Create Vistello.AddIn 0");
    EXPECT_GE(update, 0);
    EXPECT_LT(update, connect);
    EXPECT_LT(connect, created);
    EXPECT_LT(created, Position(L"AddIn.OnConnection Vistello.AddIn 0"));

    // Office owns the add-in now; the library stays until it lets go.
    EXPECT_EQ(library.CanUnloadNow(), S_FALSE);
    host.Shutdown();
    EXPECT_EQ(library.CanUnloadNow(), S_OK);
}

TEST_F(LoaderTest, RecordsOfLaterVersionsPassAndMalformedOnesLeaveTheTableUntouched)
{
    PowerPointHost host(L"14.0");
    IDispatch* application = host.App().AsDispatch();
    IDispatch* notPowerPoint = host.App().Languages();
    struct Case {
        int32_t size;
        int32_t version;
        IDispatch* application;
        bool accepted;
    };
    for (Case c : {Case{28, 1, application, true}, Case{32, 2, application, true}, Case{27, 1, application, false},
                   Case{28, 0, application, false}, Case{28, -1, application, false}, Case{28, 1, nullptr, false},
                   Case{28, 1, notPowerPoint, false}}) {
        // A record of the given size: the words beyond the seventh are zero.
        int32_t words[8] = {c.size, c.version, reinterpret_cast<int32_t>(GetModuleHandleW(nullptr)),
                            reinterpret_cast<int32_t>(c.application), 0, reinterpret_cast<int32_t>(library.Module()),
                            0, 0};
        LoaderCallbacks callbacks;
        memset(&callbacks, 0xA5, sizeof(callbacks));
        LoaderCallbacks untouched = callbacks;
        bool accepted = library.LoaderCreate(reinterpret_cast<const LoaderInfo*>(words), &callbacks);
        EXPECT_EQ(accepted, c.accepted) << c.size << " " << c.version;
        if (accepted)
            callbacks.destroy(&callbacks);
        else
            EXPECT_EQ(memcmp(&callbacks, &untouched, sizeof(callbacks)), 0) << c.size << " " << c.version;
    }
    LoaderInfo info = Info(host);
    EXPECT_FALSE(library.LoaderCreate(&info, nullptr));
    EXPECT_FALSE(library.LoaderCreate(nullptr, &table));
    host.App().Fail(L"get_COMAddIns", E_FAIL);
    EXPECT_FALSE(library.LoaderCreate(&info, &table));
    EXPECT_EQ(table.link, nullptr);
}

TEST_F(LoaderTest, AnAddInPowerPointAlreadyListsNeedsNoStart)
{
    // Registered before and switched off by the user: listed, not loaded.
    WriteDword(HKEY_CURRENT_USER, kUserEntry, L"LoadBehavior", 2);
    PowerPointHost host(L"14.0");
    host.Start();
    LoaderInfo info = Info(host);
    ASSERT_TRUE(library.LoaderCreate(&info, &table));
    EXPECT_EQ(table.needsStart(&table), 0);
    EXPECT_FALSE(host.AddIn(L"Vistello.AddIn")->IsConnected());

    // A list that cannot be read answers no as well.
    RegDeleteTreeW(HKEY_CURRENT_USER, kUserEntry);
    CallLog::Get().Fail(L"COMAddIns.get_Count", E_FAIL);
    EXPECT_EQ(table.needsStart(&table), 0);
}

TEST_F(LoaderTest, AFailedUpdateOrConnectLeavesNoEntrySoTheLoaderTriesAgainNextTime)
{
    for (const wchar_t* failing : {L"COMAddIns.Update", L"COMAddIn.put_Connect"}) {
        PowerPointHost host(L"14.0");
        host.Start();
        CallLog::Get().Fail(failing, E_FAIL);
        LoaderInfo info = Info(host);
        ASSERT_TRUE(library.LoaderCreate(&info, &table));
        ASSERT_TRUE(StartAndPump()) << failing;
        EXPECT_EQ(table.link, nullptr) << failing;
        EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kUserEntry)) << failing;
        standin::ComAddInObject* addIn = host.AddIn(L"Vistello.AddIn");
        EXPECT_TRUE(!addIn || !addIn->IsConnected()) << failing;
        CallLog::Get().ClearFailures();
    }
}

TEST_F(LoaderTest, AStartReplacesAnEarlierWindowAndOtherMessagesAreNotHandled)
{
    PowerPointHost host(L"14.0");
    LoaderInfo info = Info(host);
    ASSERT_TRUE(library.LoaderCreate(&info, &table));
    ASSERT_TRUE(table.start(&table, LoaderWindowProcedure));
    HWND first = table.window;
    ASSERT_TRUE(table.start(&table, LoaderWindowProcedure));
    EXPECT_FALSE(IsWindow(first));
    EXPECT_TRUE(IsWindow(table.window));
    EXPECT_NE(table.window, first);

    uint8_t handled = 7;
    EXPECT_EQ(table.windowProc(&table, table.window, WM_NULL, 0, 0, &handled), 0);
    EXPECT_EQ(handled, 0);

    // Destroyed before its message arrived: nothing is registered.
    HWND second = table.window;
    table.destroy(&table);
    EXPECT_EQ(table.link, nullptr);
    EXPECT_EQ(table.window, nullptr);
    EXPECT_EQ(table.destroy, nullptr);
    EXPECT_FALSE(IsWindow(second));
    PowerPointHost::Pump(50);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kUserEntry));
}

}  // namespace
