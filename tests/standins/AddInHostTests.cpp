// The host loads, connects and unloads a real COM add-in from the registry
// and drives its ribbon.
#include "StandInTestSupport.h"
#include "fixtures/ComScope.h"
#include "testaddin/TestAddInIds.h"

#include "standins/powerpoint/ApplicationObject.h"
#include "standins/powerpoint/CallLog.h"
#include "standins/powerpoint/ComAddInObject.h"
#include "standins/powerpoint/ComAddInsObject.h"
#include "standins/powerpoint/PowerPointHost.h"
#include "standins/powerpoint/RibbonHost.h"

#include <gtest/gtest.h>

using standin::PowerPointHost;

namespace {

using Lines = std::vector<std::wstring>;

const Lines kRibbonShown = {L"GetLabel TestTab", L"GetLabel TestButton", L"GetVisible TestButton"};

Lines Join(std::initializer_list<Lines> parts)
{
    Lines all;
    for (const Lines& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

Office::COMAddIn* ComAddInOf(PowerPointHost& host, const wchar_t* progId)
{
    Office::COMAddIns* addIns = nullptr;
    if (FAILED(host.App().get_COMAddIns(&addIns)))
        return nullptr;
    VARIANT index;
    VariantInit(&index);
    index.vt = VT_BSTR;
    index.bstrVal = SysAllocString(progId);
    Office::COMAddIn* addIn = nullptr;
    addIns->Item(&index, &addIn);
    VariantClear(&index);
    addIns->Release();
    return addIn;
}

class AddInHostTest : public ::testing::Test {
protected:
    ComScope com;
};

TEST_F(AddInHostTest, StartUpConnectsTheAddInLoadsItsRibbonAndCallsBack)
{
    TestAddInRegistration addIn;
    ASSERT_TRUE(addIn.Registered());
    PowerPointHost host(L"12.0");
    host.Start();

    EXPECT_EQ(addIn.Events(), Join({{L"CreateInstance", L"OnConnection 1 12.0 connect=true",
                                     L"GetCustomUI Microsoft.PowerPoint.Presentation", L"OnAddInsUpdate",
                                     L"OnStartupComplete", L"OnLoad"},
                                    kRibbonShown}));
    standin::RibbonHost* ribbon = host.Ribbon(TEST_ADDIN_PROGID);
    ASSERT_NE(ribbon, nullptr);
    EXPECT_EQ(ribbon->Document().RootAttribute(L"onLoad"), L"OnLoad");
    EXPECT_EQ(ribbon->ShownValue(L"TestButton", L"getLabel"), L"Label of TestButton");

    // A callback by name, with the control: the add-in invalidates the
    // control it was clicked for.
    addIn.ResetEvents();
    EXPECT_EQ(ribbon->InvokeControl(L"TestButton", L"onAction"), S_OK);
    EXPECT_EQ(addIn.Events(), Lines{L"OnClick TestButton"});
    EXPECT_EQ(ribbon->Ui()->Invalidations(), Lines{L"TestButton"});
    VARIANT label;
    VariantInit(&label);
    EXPECT_EQ(ribbon->Invoke(L"GetLabel", L"TestTab", {}, &label), S_OK);
    ASSERT_EQ(label.vt, VT_BSTR);
    EXPECT_STREQ(label.bstrVal, L"Label of TestTab");
    VariantClear(&label);
    EXPECT_EQ(ribbon->Invoke(L"NoSuchCallback", L"TestButton"), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(ribbon->InvokeControl(L"NoSuchControl", L"onAction"), DISP_E_UNKNOWNNAME);

    // The add-in handed itself to Office as COMAddIn.Object.
    Office::COMAddIn* comAddIn = ComAddInOf(host, TEST_ADDIN_PROGID);
    ASSERT_NE(comAddIn, nullptr);
    IDispatch* object = nullptr;
    ASSERT_EQ(comAddIn->get_Object(&object), S_OK);
    ASSERT_NE(object, nullptr);
    object->Release();
    BSTR guid = nullptr;
    EXPECT_EQ(comAddIn->get_Guid(&guid), S_OK);
    EXPECT_STREQ(guid, TEST_ADDIN_CLSID_TEXT);
    SysFreeString(guid);
    comAddIn->Release();

    addIn.ResetEvents();
    host.Shutdown();
    EXPECT_EQ(addIn.Events(), (Lines{L"OnBeginShutdown", L"OnDisconnection 0"}));
}

TEST_F(AddInHostTest, SettingConnectDisconnectsAndReconnectsAtOnce)
{
    TestAddInRegistration addIn;
    ASSERT_TRUE(addIn.Registered());
    PowerPointHost host(L"14.0");
    host.Start();
    Office::COMAddIn* comAddIn = ComAddInOf(host, TEST_ADDIN_PROGID);
    ASSERT_NE(comAddIn, nullptr);

    addIn.ResetEvents();
    EXPECT_EQ(comAddIn->put_Connect(VARIANT_FALSE), S_OK);
    EXPECT_EQ(addIn.Events(), Lines{L"OnDisconnection 1"});
    VARIANT_BOOL connected = VARIANT_TRUE;
    comAddIn->get_Connect(&connected);
    EXPECT_EQ(connected, VARIANT_FALSE);
    IDispatch* object = reinterpret_cast<IDispatch*>(1);
    comAddIn->get_Object(&object);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(host.Ribbon(TEST_ADDIN_PROGID), nullptr);

    addIn.ResetEvents();
    EXPECT_EQ(comAddIn->put_Connect(VARIANT_TRUE), S_OK);
    EXPECT_EQ(addIn.Events(), Join({{L"CreateInstance", L"OnConnection 0 14.0 connect=true",
                                     L"GetCustomUI Microsoft.PowerPoint.Presentation", L"OnLoad"},
                                    kRibbonShown,
                                    {L"OnAddInsUpdate"}}));
    comAddIn->get_Connect(&connected);
    EXPECT_EQ(connected, VARIANT_TRUE);
    comAddIn->Release();
}

TEST_F(AddInHostTest, PowerPointBefore2007AsksForNoRibbon)
{
    TestAddInRegistration addIn;
    PowerPointHost host(L"11.0");
    host.Start();
    EXPECT_EQ(addIn.Events(), (Lines{L"CreateInstance", L"OnConnection 1 11.0 connect=true", L"OnAddInsUpdate",
                                     L"OnStartupComplete"}));
    EXPECT_EQ(host.Ribbon(TEST_ADDIN_PROGID), nullptr);
}

TEST_F(AddInHostTest, OnlyLoadBehaviorThreeLoadsAtStartUp)
{
    TestAddInRegistration addIn(2);
    PowerPointHost host(L"14.0");
    host.Start();
    EXPECT_EQ(addIn.Events(), Lines{});
    ASSERT_NE(host.AddIn(TEST_ADDIN_PROGID), nullptr);
    EXPECT_FALSE(host.AddIn(TEST_ADDIN_PROGID)->IsConnected());
}

TEST_F(AddInHostTest, UpdateReadsEntriesWrittenAfterStartUp)
{
    PowerPointHost host(L"14.0");
    host.Start();
    EXPECT_EQ(host.AddIn(TEST_ADDIN_PROGID), nullptr);
    {
        TestAddInRegistration addIn;
        Office::COMAddIns* addIns = nullptr;
        ASSERT_EQ(host.App().get_COMAddIns(&addIns), S_OK);
        EXPECT_EQ(addIns->Update(), S_OK);
        ASSERT_NE(host.AddIn(TEST_ADDIN_PROGID), nullptr);
        EXPECT_FALSE(host.AddIn(TEST_ADDIN_PROGID)->IsConnected());

        // Item by position from 1 reaches every entry; others fail.
        long count = 0;
        ASSERT_EQ(addIns->get_Count(&count), S_OK);
        bool found = false;
        for (long i = 1; i <= count; ++i) {
            VARIANT index;
            VariantInit(&index);
            index.vt = VT_I4;
            index.lVal = i;
            Office::COMAddIn* item = nullptr;
            ASSERT_EQ(addIns->Item(&index, &item), S_OK);
            BSTR progId = nullptr;
            item->get_ProgId(&progId);
            found = found || lstrcmpW(progId, TEST_ADDIN_PROGID) == 0;
            SysFreeString(progId);
            item->Release();
        }
        EXPECT_TRUE(found);
        for (long bad : {0L, count + 1}) {
            VARIANT index;
            VariantInit(&index);
            index.vt = VT_I4;
            index.lVal = bad;
            Office::COMAddIn* item = reinterpret_cast<Office::COMAddIn*>(1);
            EXPECT_EQ(addIns->Item(&index, &item), E_INVALIDARG);
            EXPECT_EQ(item, nullptr);
        }
        addIns->Release();
    }
    // The entry is gone from the registry and not connected: Update drops it.
    Office::COMAddIns* addIns = nullptr;
    host.App().get_COMAddIns(&addIns);
    addIns->Update();
    addIns->Release();
    EXPECT_EQ(host.AddIn(TEST_ADDIN_PROGID), nullptr);
}

TEST_F(AddInHostTest, AConnectThatCannotCreateTheClassFailsAndStaysDisconnected)
{
    // An Office entry whose ProgID names no registered class.
    const wchar_t key[] = L"Software\\Microsoft\\Office\\PowerPoint\\Addins\\StandInTests.Missing";
    HKEY entry = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &entry, nullptr),
              ERROR_SUCCESS);
    DWORD behaviour = 3;
    RegSetValueExW(entry, L"LoadBehavior", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&behaviour), sizeof(DWORD));
    RegCloseKey(entry);
    {
        PowerPointHost host(L"14.0");
        host.Start();
        Office::COMAddIn* missing = ComAddInOf(host, L"StandInTests.Missing");
        ASSERT_NE(missing, nullptr);
        VARIANT_BOOL connected = VARIANT_TRUE;
        missing->get_Connect(&connected);
        EXPECT_EQ(connected, VARIANT_FALSE);
        EXPECT_TRUE(FAILED(missing->put_Connect(VARIANT_TRUE)));
        missing->get_Connect(&connected);
        EXPECT_EQ(connected, VARIANT_FALSE);
        missing->Release();
    }
    RegDeleteTreeW(HKEY_CURRENT_USER, key);
}

TEST_F(AddInHostTest, InjectedFailuresAnswerAndCallsAreLoggedInOrder)
{
    PowerPointHost host(L"14.0");
    standin::CallLog& log = standin::CallLog::Get();
    log.Clear();
    log.SetRecording(true);
    log.Fail(L"COMAddIns.get_Count", E_ACCESSDENIED, 1, 1);

    Office::COMAddIns* addIns = nullptr;
    ASSERT_EQ(host.App().get_COMAddIns(&addIns), S_OK);
    long count = 0;
    EXPECT_EQ(addIns->get_Count(&count), S_OK);
    EXPECT_EQ(addIns->get_Count(&count), E_ACCESSDENIED);
    EXPECT_EQ(addIns->get_Count(&count), S_OK);
    addIns->Release();

    // One object alone can be made to fail.
    host.App().Fail(L"get_Version", E_UNEXPECTED);
    BSTR version = nullptr;
    EXPECT_EQ(host.App().get_Version(&version), E_UNEXPECTED);

    log.SetRecording(false);
    log.ClearFailures();
    EXPECT_EQ(log.EntriesStartingWith(L"COMAddIns."),
              (Lines{L"COMAddIns.get_Count", L"COMAddIns.get_Count", L"COMAddIns.get_Count"}));
    EXPECT_EQ(log.EntriesStartingWith(L"Application."),
              (Lines{L"Application.get_COMAddIns", L"Application.get_Version"}));
    log.Clear();
}

}  // namespace
