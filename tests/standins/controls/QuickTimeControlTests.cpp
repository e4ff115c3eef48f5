#include "fixtures/ComScope.h"
#include "fixtures/Fixtures.h"
#include "hostapi/QuickTimeInterfaces.h"
#include "tests/standins/controlsupport/AtlAxHost.h"
#include "tests/standins/controlsupport/ControlLogFile.h"
#include "tests/standins/controlsupport/ControlRegistration.h"
#include "tests/standins/controlsupport/QueryAs.h"
#include "tests/standins/controlsupport/EventConnection.h"
#include "tests/standins/controlsupport/HostWindow.h"
#include "tests/standins/controlsupport/TestBindHost.h"
#include "tests/standins/controlsupport/TestControlSite.h"
#include "tests/standins/controlsupport/TestPropertyBag.h"
#include "tests/standins/controlsupport/TextFile.h"
#include "StandInTestSupport.h"

#include <gtest/gtest.h>

namespace {

const wchar_t kQuickTimeClsid[] = L"{24BA3CAF-4BE8-4AEC-A7C8-6F47D5684602}";
const wchar_t kPluginClsid[] = L"{02BF25D5-8C17-4B23-BC80-D3488ABDDC6B}";
const wchar_t kMovieName[] = L"C:\\Vistello.9EA84E08259647B1995FC2CEB15B7423\\pack\\resources\\clip.mov";

HRESULT SetText(IUnknown* object, int slot, const std::wstring& text)
{
    BSTR value = SysAllocString(text.c_str());
    HRESULT hr = QuickTimeSlot<QtTextSlot>(object, slot)(object, value);
    SysFreeString(value);
    return hr;
}

VARIANT Missing()
{
    VARIANT value;
    value.vt = VT_ERROR;
    value.scode = DISP_E_PARAMNOTFOUND;
    return value;
}

TEST(QuickTimeControls, EachClassReachesItsStandIn)
{
    ComScope com;
    struct Case {
        StandInControl control;
        CLSID clsid;
        IID iid;
    };
    for (const Case& c : {Case{StandInControl::QuickTime, CLSID_QuickTimeControl, IID_IQuickTimeControl},
                          Case{StandInControl::QuickTimePlugin, CLSID_QuickTimePlugin, IID_IQuickTimePlugin}}) {
        ControlRegistration registration(c.control);
        ASSERT_TRUE(registration.Registered());
        EXPECT_EQ(registration.Path(), RegisteredServerPath(c.clsid));
        IUnknown* object = nullptr;
        ASSERT_EQ(S_OK, CoCreateInstance(c.clsid, nullptr, CLSCTX_INPROC_SERVER, c.iid, reinterpret_cast<void**>(&object)));
        object->Release();
    }
}

TEST(QuickTimeControls, ControlDrawsTheMovieAndItsControllerInWinesAtlContainer)
{
    ComScope com;
    ControlRegistration registration(StandInControl::QuickTime);
    ControlLogFile log;
    ScratchFolder folder;
    std::wstring movie = folder.File(L"green.mov");
    WriteTextFile(movie, "standin-movie 1\nframe FF00FF00\n");

    AtlAxHost host(kQuickTimeClsid, 160, 120);
    IUnknown* control = host.Control();
    ASSERT_NE(nullptr, control);
    IUnknown* quickTime = QueryAs<IUnknown>(control, IID_IQuickTimeControl);
    ASSERT_NE(nullptr, quickTime);
    EXPECT_EQ(S_OK, SetText(quickTime, kQtControlSetUrl, movie));
    EXPECT_TRUE(PumpUntil([&] { return log.Contains(L"fire Status"); }));

    EXPECT_EQ(RGB(0, 255, 0), host.Pixel(80, 40));
    EXPECT_EQ(RGB(192, 192, 192), host.Pixel(80, 112));
    quickTime->Release();
    control->Release();
}

TEST(QuickTimeControls, PluginDrawsTheMovieInWinesAtlContainer)
{
    ComScope com;
    ControlRegistration registration(StandInControl::QuickTimePlugin);
    ControlLogFile log;
    ScratchFolder folder;
    std::wstring movie = folder.File(L"blue.mov");
    WriteTextFile(movie, "standin-movie 1\nframe FF0000FF\n");

    AtlAxHost host(kPluginClsid, 160, 120);
    IUnknown* control = host.Control();
    ASSERT_NE(nullptr, control);
    IUnknown* plugin = QueryAs<IUnknown>(control, IID_IQuickTimePlugin);
    ASSERT_NE(nullptr, plugin);
    EXPECT_EQ(S_OK, SetText(plugin, kQtPluginSetSrc, movie));
    EXPECT_TRUE(log.Contains(L"qtplugin movie loaded"));
    EXPECT_EQ(RGB(0, 0, 255), host.Pixel(80, 60));
    plugin->Release();
    control->Release();
}

// A QuickTime Control run as its node drives it: start-up properties, the
// one-time initialisation, the URL and its status event, then the movie
// object's slots.
TEST(QuickTimeControls, ControlRunMatchesTheGoldenLog)
{
    ComScope com;
    ControlRegistration registration(StandInControl::QuickTime);
    ControlLogFile log;
    ScratchFolder folder;
    std::wstring movie = folder.File(L"clip.mov");
    WriteTextFile(movie, "standin-movie 1\nrate 50\nframe FF000080\nframe FF000090\n");
    TestPropertyBag* bag = new TestPropertyBag({{L"bgcolor", L"FF0000"}, {L"BorderStyle", L"0"},
                                                {L"MovieControllerVisible", L"true"}, {L"autoplay", L"false"}});
    HostWindow window(160, 120);
    TestControlSite* site = new TestControlSite(window.Get(), RECT{0, 0, 160, 120}, false, nullptr);
    IOleObject* control = nullptr;
    ASSERT_EQ(S_OK, site->Create(CLSID_QuickTimeControl, bag, &control));
    EventRecorder events;
    EventConnection connection(control, DIID_QuickTimeControlEvents, &events);
    ASSERT_TRUE(connection.Connected());

    IUnknown* quickTime = QueryAs<IUnknown>(control, IID_IQuickTimeControl);
    ASSERT_NE(nullptr, quickTime);
    VARIANT zero;
    zero.vt = VT_I4;
    zero.lVal = 0;
    long initialised = -1;
    EXPECT_EQ(S_OK, QuickTimeSlot<QtInitialiseSlotFn>(quickTime, kQtControlInitialise)(quickTime, zero, Missing(),
                                                                                        &initialised));
    EXPECT_EQ(0, initialised);
    EXPECT_EQ(S_OK, SetText(quickTime, kQtControlSetUrl, movie));
    ASSERT_TRUE(PumpUntil([&] { return !events.records.empty(); }));
    ASSERT_EQ(1u, events.records.size());
    EXPECT_EQ(kQtEventStatus, events.records[0].id);
    EXPECT_EQ((std::vector<VARTYPE>{VT_I4, VT_I4, VT_BSTR}), events.records[0].types);

    IDispatch* movieObject = nullptr;
    ASSERT_EQ(S_OK, QuickTimeSlot<QtObjectSlot>(quickTime, kQtControlGetMovie)(quickTime, &movieObject));
    ASSERT_NE(nullptr, movieObject);
    EXPECT_EQ(S_OK, QuickTimeSlot<QtBoolSlot>(movieObject, kQtMovieSetFlag)(movieObject, VARIANT_TRUE));
    EXPECT_EQ(S_OK, QuickTimeSlot<QtVariantSlot>(movieObject, kQtMoviePlay)(movieObject, Missing()));
    RECT rect = {};
    EXPECT_EQ(S_OK, QuickTimeSlot<QtRectSlot>(movieObject, kQtMovieGetRect)(movieObject, &rect));
    EXPECT_EQ((RECT{0, 0, 160, 104}).bottom, rect.bottom);
    EXPECT_EQ(S_OK, QuickTimeSlot<QtNoArgumentSlot>(movieObject, kQtMovieCommand1)(movieObject));
    EXPECT_EQ(S_OK, QuickTimeSlot<QtBoolSlot>(quickTime, kQtControlSetControlFlag)(quickTime, VARIANT_FALSE));
    movieObject->Release();
    quickTime->Release();
    connection.Disconnect();
    TestControlSite::Destroy(control);
    control->Release();

    const std::vector<std::wstring> golden = {
        L"quicktime IOleObject.SetClientSite(site)",
        L"quicktime IPersistPropertyBag2.Load",
        L"quicktime property bgcolor=\"FF0000\"",
        L"quicktime property BorderStyle=\"0\"",
        L"quicktime property MovieControllerVisible=\"true\"",
        L"quicktime property autoplay=\"false\"",
        L"quicktime IOleObject.DoVerb(-5)",
        L"quicktime host in place windowed at 0,0,160,120",
        L"quicktime IConnectionPointContainer.FindConnectionPoint({614E1495-1014-44F8-B350-5344C0770C1E}) = 0x00000000",
        L"quicktime IConnectionPoint.Advise(QuickTimeControlEvents) = 1",
        L"quicktime slot 14 Initialise(I4 0, missing)",
        L"quicktime slot 17 URL(\"X\")",
        L"quicktime movie loaded",
        L"quicktime fire Status(0, 4099, \"X\") = 0x00000000",
        L"quicktime slot 24 Movie = movie",
        L"quicktime movie slot 28 Flag(true)",
        L"quicktime movie slot 182 Play(missing)",
        L"quicktime movie slot 128 Rect = 0,0,160,104",
        L"quicktime movie slot 181 Command",
        L"quicktime slot 42 ControlFlag(false)",
        L"quicktime IConnectionPoint.Unadvise(QuickTimeControlEvents, 1)",
        L"quicktime IOleInPlaceObject.InPlaceDeactivate",
        L"quicktime IOleObject.Close(1)",
        L"quicktime IOleObject.SetClientSite(null)",
        L"quicktime released",
    };
    std::vector<std::wstring> lines = log.Lines({L"IViewObject.Draw"});
    ReplaceQuoted(lines, movie, L"X");
    EXPECT_EQ(golden, lines);
    site->Release();
    bag->Release();
}

TEST(QuickTimeControls, ControlReportsAMissingMovieAndHandsOutNoMovie)
{
    ComScope com;
    ControlRegistration registration(StandInControl::QuickTime);
    ControlLogFile log;
    HostWindow window(160, 120);
    TestControlSite* site = new TestControlSite(window.Get(), RECT{0, 0, 160, 120}, false, nullptr);
    IOleObject* control = nullptr;
    ASSERT_EQ(S_OK, site->Create(CLSID_QuickTimeControl, nullptr, &control));
    IUnknown* quickTime = QueryAs<IUnknown>(control, IID_IQuickTimeControl);
    EXPECT_EQ(S_OK, SetText(quickTime, kQtControlSetUrl, L"C:\\no\\such.mov"));
    EXPECT_TRUE(PumpUntil([&] { return log.Contains(L"fire Status(0, 4100"); }));
    IDispatch* movieObject = reinterpret_cast<IDispatch*>(1);
    EXPECT_EQ(S_FALSE, QuickTimeSlot<QtObjectSlot>(quickTime, kQtControlGetMovie)(quickTime, &movieObject));
    EXPECT_EQ(nullptr, movieObject);
    // A slot no host calls says so in the log.
    EXPECT_EQ(E_NOTIMPL, QuickTimeSlot<QtNoArgumentSlot>(quickTime, 20)(quickTime));
    EXPECT_TRUE(log.Contains(L"quicktime slot 20 unused"));
    quickTime->Release();
    TestControlSite::Destroy(control);
    control->Release();
    site->Release();
}

// The plug-in control as a windowless node drives it: its source bound
// through the site's bind host, then autoplay.
TEST(QuickTimeControls, PluginRunThroughABindHostMatchesTheGoldenLog)
{
    ComScope com;
    ControlRegistration registration(StandInControl::QuickTimePlugin);
    ControlLogFile log;
    TestBindHost* bindHost = new TestBindHost();
    const std::string script = "standin-movie 1\nframe 80FFFFFF\n";
    bindHost->Serve(kMovieName, script);
    TestPropertyBag* bag = new TestPropertyBag({{L"wmode", L"transparent"}, {L"bgcolor", L"000000"},
                                                {L"scale", L"aspect"}, {L"autoplay", L"false"}, {L"src", kMovieName}});
    HostWindow window(160, 120);
    TestControlSite* site = new TestControlSite(window.Get(), RECT{0, 0, 160, 120}, true, bindHost);
    IOleObject* control = nullptr;
    ASSERT_EQ(S_OK, site->Create(CLSID_QuickTimePlugin, bag, &control));
    EXPECT_TRUE(site->Windowless());
    IUnknown* plugin = QueryAs<IUnknown>(control, IID_IQuickTimePlugin);
    ASSERT_NE(nullptr, plugin);
    EXPECT_EQ(S_OK, QuickTimeSlot<QtLongSlot>(plugin, kQtPluginSetAutoPlay)(plugin, 1));
    plugin->Release();
    TestControlSite::Destroy(control);
    control->Release();

    const std::vector<std::wstring> golden = {
        L"qtplugin IOleObject.SetClientSite(site)",
        L"qtplugin IPersistPropertyBag2.Load",
        L"qtplugin property wmode=\"transparent\"",
        L"qtplugin property bgcolor=\"000000\"",
        L"qtplugin property scale=\"aspect\"",
        L"qtplugin property autoplay=\"false\"",
        L"qtplugin property src=\"C:\\\\Vistello.9EA84E08259647B1995FC2CEB15B7423\\\\pack\\\\resources\\\\clip.mov\"",
        L"qtplugin host QueryService(SID_IBindHost) = 0x00000000",
        L"qtplugin host CreateMoniker(\"C:\\\\Vistello.9EA84E08259647B1995FC2CEB15B7423\\\\pack\\\\resources\\\\"
        L"clip.mov\") = 0x00000000",
        L"qtplugin bind OnStartBinding",
        L"qtplugin bind OnDataAvailable(5, " + std::to_wstring(script.size()) + L")",
        L"qtplugin bind OnStopBinding(0x00000001)",
        L"qtplugin movie loaded",
        L"qtplugin host MonikerBindToStorage = 0x00000000",
        L"qtplugin IOleObject.DoVerb(-5)",
        L"qtplugin host in place windowless at 0,0,160,120",
        L"qtplugin slot 43 AutoPlay(1)",
        L"qtplugin IOleInPlaceObject.InPlaceDeactivate",
        L"qtplugin IOleObject.Close(1)",
        L"qtplugin IOleObject.SetClientSite(null)",
        L"qtplugin released",
    };
    EXPECT_EQ(golden, log.Lines({L"IViewObject.Draw"}));
    site->Release();
    bag->Release();
    bindHost->Release();
}

}  // namespace
