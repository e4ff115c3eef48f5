#include "fixtures/ComScope.h"
#include "fixtures/Fixtures.h"
#include "hostapi/FlashInterfaces.h"
#include "tests/standins/controlsupport/AtlAxHost.h"
#include "tests/standins/controlsupport/ControlLogFile.h"
#include "tests/standins/controlsupport/ControlRegistration.h"
#include "tests/standins/controlsupport/QueryAs.h"
#include "tests/standins/controlsupport/TestBindHost.h"
#include "tests/standins/controlsupport/TestControlSite.h"
#include "tests/standins/controlsupport/TestPropertyBag.h"
#include "tests/standins/controlsupport/EventConnection.h"
#include "tests/standins/controlsupport/HostWindow.h"
#include "tests/standins/controlsupport/TextFile.h"
#include "StandInTestSupport.h"

#include <gtest/gtest.h>


namespace {

const wchar_t kFlashProgId[] = L"ShockwaveFlash.ShockwaveFlash";
const wchar_t kMovieName[] = L"C:\\Vistello.9EA84E08259647B1995FC2CEB15B7423\\pack\\resources\\effect.swf";
const wchar_t kBackgroundName[] = L"C:\\Vistello.9EA84E08259647B1995FC2CEB15B7423\\bgimg\\0.bin";

class FlashVersionTest : public ::testing::TestWithParam<std::tuple<StandInControl, int, int>> {};

TEST_P(FlashVersionTest, ClassReachesTheBuildWhoseFileVersionWasAskedFor)
{
    ComScope com;
    auto [control, major, minor] = GetParam();
    ControlRegistration registration(control);
    ASSERT_TRUE(registration.Registered());

    IShockwaveFlash* flash = nullptr;
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_ShockwaveFlash, nullptr, CLSCTX_INPROC_SERVER, IID_IShockwaveFlash,
                                     reinterpret_cast<void**>(&flash)));
    // The presence check of the player programs: the class object for
    // in-process use, asked for an instance with IOleObject.
    IClassFactory* factory = nullptr;
    ASSERT_EQ(S_OK, CoGetClassObject(CLSID_ShockwaveFlash, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER, nullptr,
                                     IID_IClassFactory, reinterpret_cast<void**>(&factory)));
    IOleObject* object = nullptr;
    EXPECT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IOleObject, reinterpret_cast<void**>(&object)));
    object->Release();
    factory->Release();
    long version = 0;
    EXPECT_EQ(S_OK, flash->FlashVersion(&version));
    EXPECT_EQ(major << 16 | minor, version);
    flash->Release();

    std::wstring path = RegisteredServerPath(CLSID_ShockwaveFlash);
    EXPECT_EQ(registration.Path(), path);
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> data(size);
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, data.data()));
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length));
    EXPECT_EQ(static_cast<DWORD>(major), HIWORD(info->dwFileVersionMS));
    EXPECT_EQ(static_cast<DWORD>(minor), LOWORD(info->dwFileVersionMS));
}

INSTANTIATE_TEST_SUITE_P(PlayerVersions, FlashVersionTest,
                         ::testing::Values(std::make_tuple(StandInControl::Flash9, 9, 0),
                                           std::make_tuple(StandInControl::Flash10, 10, 0),
                                           std::make_tuple(StandInControl::Flash101, 10, 1)));

TEST(FlashControl, UnregisteringRemovesTheClass)
{
    ComScope com;
    {
        ControlRegistration registration(StandInControl::Flash10);
        ASSERT_TRUE(registration.Registered());
    }
    IUnknown* control = nullptr;
    EXPECT_EQ(REGDB_E_CLASSNOTREG, CoCreateInstance(CLSID_ShockwaveFlash, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                                    reinterpret_cast<void**>(&control)));
    EXPECT_EQ(L"", RegisteredServerPath(CLSID_ShockwaveFlash));
}

TEST(FlashControl, DrawsItsFramesWindowedInWinesAtlContainer)
{
    ComScope com;
    ControlRegistration registration(StandInControl::Flash10);
    ControlLogFile log;
    ScratchFolder folder;
    std::wstring movie = folder.File(L"frames.swf");
    ASSERT_TRUE(WriteTextFile(movie, "standin-movie 1\nrate 50\nframe FFFF0000\nframe FF0000FF\n"));

    AtlAxHost host(kFlashProgId, 160, 120);
    IUnknown* control = host.Control();
    ASSERT_NE(nullptr, control);
    IShockwaveFlash* flash = QueryAs<IShockwaveFlash>(control, IID_IShockwaveFlash);
    ASSERT_NE(nullptr, flash);
    EXPECT_TRUE(log.Contains(L"flash host in place windowed at 0,0,160,120"));

    BSTR name = SysAllocString(movie.c_str());
    EXPECT_EQ(S_OK, flash->put_Movie(name));
    SysFreeString(name);
    EXPECT_TRUE(log.Contains(L"flash movie loaded 2 frames"));
    EXPECT_EQ(S_OK, flash->put_Playing(VARIANT_FALSE));

    EXPECT_EQ(S_OK, flash->GotoFrame(0));
    EXPECT_EQ(RGB(255, 0, 0), host.Pixel(80, 60));
    EXPECT_EQ(S_OK, flash->GotoFrame(1));
    EXPECT_EQ(RGB(0, 0, 255), host.Pixel(5, 5));

    flash->Release();
    control->Release();
}

TEST(FlashControl, BlendsAWindowlessFrameOverWhatLiesBehind)
{
    ComScope com;
    ControlRegistration registration(StandInControl::Flash10);
    ControlLogFile log;
    ScratchFolder folder;
    std::wstring movie = folder.File(L"half.swf");
    ASSERT_TRUE(WriteTextFile(movie, "standin-movie 1\nframe 80FF0000\n"));

    AtlAxHost host(kFlashProgId, 160, 120);
    IUnknown* control = host.Control();
    ASSERT_NE(nullptr, control);
    IShockwaveFlash* flash = QueryAs<IShockwaveFlash>(control, IID_IShockwaveFlash);
    IOleObject* object = QueryAs<IOleObject>(control, IID_IOleObject);
    IOleInPlaceObject* inPlace = QueryAs<IOleInPlaceObject>(control, IID_IOleInPlaceObject);
    ASSERT_TRUE(flash && object && inPlace);

    // ATL's container activates at once; the window mode takes effect at the
    // next in-place activation.
    EXPECT_EQ(S_OK, inPlace->InPlaceDeactivate());
    BSTR text = SysAllocString(L"transparent");
    EXPECT_EQ(S_OK, flash->put_WMode(text));
    SysFreeString(text);
    IOleClientSite* site = nullptr;
    ASSERT_EQ(S_OK, object->GetClientSite(&site));
    RECT area = {0, 0, 160, 120};
    EXPECT_EQ(S_OK, object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site, 0, host.Window(), &area));
    site->Release();
    EXPECT_TRUE(log.Contains(L"flash host in place windowless at 0,0,160,120"));
    HWND window = nullptr;
    EXPECT_EQ(E_FAIL, inPlace->GetWindow(&window));

    text = SysAllocString(movie.c_str());
    EXPECT_EQ(S_OK, flash->put_Movie(text));
    SysFreeString(text);
    EXPECT_EQ(S_OK, flash->put_Playing(VARIANT_FALSE));

    host.RepaintOver(RGB(0, 0, 255));
    COLORREF pixel = host.Pixel(80, 60);
    EXPECT_NEAR(128, GetRValue(pixel), 2);
    EXPECT_EQ(0, GetGValue(pixel));
    EXPECT_NEAR(127, GetBValue(pixel), 2);
    EXPECT_TRUE(log.Contains(L"flash IViewObject.Draw(0,0,160,120)"));

    inPlace->Release();
    object->Release();
    flash->Release();
    control->Release();
}

TEST(FlashControl, WindowedLogsInputAndPaintsIntoAHandedContext)
{
    ComScope com;
    ControlRegistration registration(StandInControl::Flash9);
    ControlLogFile log;
    ScratchFolder folder;
    std::wstring movie = folder.File(L"teal.swf");
    ASSERT_TRUE(WriteTextFile(movie, "standin-movie 1\nframe FF008080\n"));
    TestPropertyBag* bag = new TestPropertyBag({{L"movie", movie}});
    HostWindow window(160, 120);
    TestControlSite* site = new TestControlSite(window.Get(), RECT{10, 10, 50, 40}, true, nullptr);
    IOleObject* control = nullptr;
    ASSERT_EQ(S_OK, site->Create(CLSID_ShockwaveFlash, bag, &control));
    EXPECT_FALSE(site->Windowless());
    IOleInPlaceObject* inPlace = QueryAs<IOleInPlaceObject>(control, IID_IOleInPlaceObject);
    HWND child = nullptr;
    ASSERT_EQ(S_OK, inPlace->GetWindow(&child));
    EXPECT_EQ(window.Get(), GetParent(child));
    RECT placed;
    GetWindowRect(child, &placed);
    EXPECT_EQ(40, placed.right - placed.left);

    SendMessageW(child, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 6));
    SendMessageW(child, WM_MOUSEMOVE, 0, MAKELPARAM(7, 8));
    SendMessageW(child, WM_KEYDOWN, 'A', 0);
    std::vector<std::wstring> input;
    for (const std::wstring& line : log.Lines()) {
        if (line.find(L"flash window ") == 0)
            input.push_back(line);
    }
    EXPECT_EQ((std::vector<std::wstring>{L"flash window WM_LBUTTONDOWN(5,6)", L"flash window WM_KEYDOWN(0x00000041)"}),
              input);

    // A snapshot the way a host takes one: WM_PAINT with its own context.
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 40, 30);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    SendMessageW(child, WM_PAINT, reinterpret_cast<WPARAM>(memory), 0);
    EXPECT_EQ(RGB(0, 128, 128), GetPixel(memory, 20, 15));
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);

    inPlace->Release();
    TestControlSite::Destroy(control);
    control->Release();
    site->Release();
    bag->Release();
}

TEST(FlashControl, StoppedBeforeItsMovieLoadsTheMovieStopped)
{
    ComScope com;
    ControlRegistration registration(StandInControl::Flash10);
    ControlLogFile log;
    ScratchFolder folder;
    std::wstring movie = folder.File(L"still.swf");
    ASSERT_TRUE(WriteTextFile(movie, "standin-movie 1\nrate 200\nframe FF000000\nframe FF000001\nframe FF000002\n"));
    HostWindow window(160, 120);
    TestControlSite* site = new TestControlSite(window.Get(), RECT{0, 0, 160, 120}, false, nullptr);
    IOleObject* control = nullptr;
    ASSERT_EQ(S_OK, site->Create(CLSID_ShockwaveFlash, nullptr, &control));
    IShockwaveFlash* flash = QueryAs<IShockwaveFlash>(control, IID_IShockwaveFlash);
    EXPECT_EQ(S_OK, flash->put_Playing(VARIANT_FALSE));
    BSTR name = SysAllocString(movie.c_str());
    EXPECT_EQ(S_OK, flash->put_Movie(name));
    SysFreeString(name);
    EXPECT_TRUE(PumpUntil([&] { return log.Contains(L"fire OnReadyStateChange"); }));
    PumpUntil([] { return false; }, 100);
    long frame = -1;
    EXPECT_EQ(S_OK, flash->CurrentFrame(&frame));
    EXPECT_EQ(0, frame);
    EXPECT_EQ(S_OK, flash->Play());
    EXPECT_TRUE(PumpUntil([&] {
        flash->CurrentFrame(&frame);
        return frame > 0;
    }));
    flash->Release();
    TestControlSite::Destroy(control);
    control->Release();
    site->Release();
}

TEST(FlashControl, DrawHonoursTheClipOfTheContext)
{
    ComScope com;
    ControlRegistration registration(StandInControl::Flash10);
    ControlLogFile log;
    ScratchFolder folder;
    std::wstring movie = folder.File(L"green.swf");
    ASSERT_TRUE(WriteTextFile(movie, "standin-movie 1\nframe FF00FF00\n"));
    TestPropertyBag* bag = new TestPropertyBag({{L"wmode", L"transparent"}, {L"movie", movie}});
    HostWindow window(160, 120);
    TestControlSite* site = new TestControlSite(window.Get(), RECT{0, 0, 8, 8}, true, nullptr);
    IOleObject* control = nullptr;
    ASSERT_EQ(S_OK, site->Create(CLSID_ShockwaveFlash, bag, &control));
    EXPECT_TRUE(site->Windowless());

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 8, 8);
    SelectObject(memory, bitmap);
    RECT all = {0, 0, 8, 8};
    FillRect(memory, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    IntersectClipRect(memory, 0, 0, 4, 8);
    IViewObject* view = QueryAs<IViewObject>(control, IID_IViewObject);
    RECTL bounds = {0, 0, 8, 8};
    EXPECT_EQ(S_OK, view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, memory, &bounds, nullptr, nullptr, 0));
    EXPECT_EQ(RGB(0, 255, 0), GetPixel(memory, 1, 1));
    EXPECT_EQ(RGB(0, 0, 0), GetPixel(memory, 6, 1));
    view->Release();
    DeleteDC(memory);
    DeleteObject(bitmap);
    ReleaseDC(nullptr, screen);

    TestControlSite::Destroy(control);
    control->Release();
    site->Release();
    bag->Release();
}

// What the effect-movie protocol asks of the control, run through a site
// with a bind host: properties, the movie bound from memory, the load
// events, a timed FlashCall answered with SetReturnValue, a CallFunction that
// fetches the background picture, and the teardown.
TEST(FlashControl, ScriptedRunThroughABindHostMatchesTheGoldenLog)
{
    ComScope com;
    ControlRegistration registration(StandInControl::Flash101);
    ControlLogFile log;
    TestBindHost* bindHost = new TestBindHost();
    const std::string script =
        "standin-movie 1\nrate 50\nloop off\nframe FF102030\nframe FF405060\n"
        "call 1 <invoke name=\"__vqz_OnScreenReady\" returntype=\"xml\"><arguments></arguments></invoke>\n"
        "fetch __vqz_RefreshBackground C:\\Vistello.9EA84E08259647B1995FC2CEB15B7423\\bgimg\\0.bin\n";
    bindHost->Serve(kMovieName, script);
    bindHost->Serve(kBackgroundName, std::string("\xC8\xA3\x45\x48\x01\0\0\0\x56\x34\x12\xFF", 12));
    TestPropertyBag* bag = new TestPropertyBag({{L"wmode", L"window"}, {L"movie", kMovieName}, {L"flashvars", L"a=1"}});
    HostWindow window(160, 120);
    TestControlSite* site = new TestControlSite(window.Get(), RECT{0, 0, 160, 120}, true, bindHost);

    IOleObject* control = nullptr;
    ASSERT_EQ(S_OK, site->Create(CLSID_ShockwaveFlash, bag, &control));
    IShockwaveFlash* flash = QueryAs<IShockwaveFlash>(control, IID_IShockwaveFlash);
    ASSERT_NE(nullptr, flash);
    EventRecorder events;
    events.onEvent = [flash](DISPID id, DISPPARAMS*) {
        if (id != kFlashEventFlashCall)
            return;
        BSTR value = SysAllocString(L"<string>ok</string>");
        flash->SetReturnValue(value);
        SysFreeString(value);
    };
    EventConnection connection(control, DIID_IShockwaveFlashEvents, static_cast<IDispatch*>(&events));
    ASSERT_TRUE(connection.Connected());

    ASSERT_TRUE(PumpUntil([&] { return log.Contains(L"fire FlashCall"); }));
    BSTR request = SysAllocString(
        L"<invoke name=\"__vqz_RefreshBackground\" returntype=\"xml\"><arguments></arguments></invoke>");
    BSTR response = nullptr;
    EXPECT_EQ(S_OK, flash->CallFunction(request, &response));
    EXPECT_STREQ(L"<undefined/>", response);
    SysFreeString(response);
    SysFreeString(request);

    connection.Disconnect();
    flash->Release();
    TestControlSite::Destroy(control);
    control->Release();
    EXPECT_EQ((std::vector<DISPID>{kFlashEventProgress, kFlashEventReadyStateChange, kFlashEventFlashCall}),
              events.Ids());

    const std::vector<std::wstring> golden = {
        L"flash IOleObject.SetClientSite(site)",
        L"flash host ambient UserMode=True UIDead=False BackColor=0 Appearance=0",
        L"flash IPersistPropertyBag2.Load",
        L"flash property wmode=\"window\"",
        L"flash property movie=\"C:\\\\Vistello.9EA84E08259647B1995FC2CEB15B7423\\\\pack\\\\resources\\\\effect.swf\"",
        L"flash property flashvars=\"a=1\"",
        L"flash host QueryService(SID_IBindHost) = 0x00000000",
        L"flash host CreateMoniker(\"C:\\\\Vistello.9EA84E08259647B1995FC2CEB15B7423\\\\pack\\\\resources\\\\effect.swf\") "
        L"= 0x00000000",
        L"flash bind OnStartBinding",
        L"flash bind OnDataAvailable(5, " + std::to_wstring(script.size()) + L")",
        L"flash bind OnStopBinding(0x00000001)",
        L"flash movie loaded 2 frames",
        L"flash host MonikerBindToStorage = 0x00000000",
        L"flash IOleObject.DoVerb(-5)",
        L"flash host in place windowed at 0,0,160,120",
        L"flash IConnectionPointContainer.FindConnectionPoint({D27CDB6D-AE6D-11CF-96B8-444553540000}) = 0x00000000",
        L"flash IConnectionPoint.Advise(_IShockwaveFlashEvents) = 1",
        L"flash fire OnChanged(-525)",
        L"flash fire OnProgress(100) = 0x00000000",
        L"flash fire OnReadyStateChange(4) = 0x00000000",
        L"flash IShockwaveFlash.SetReturnValue(\"<string>ok</string>\")",
        L"flash fire FlashCall(\"<invoke name=\\\"__vqz_OnScreenReady\\\" returntype=\\\"xml\\\"><arguments></arguments>"
        L"</invoke>\") = 0x00000000, returned \"<string>ok</string>\"",
        L"flash IShockwaveFlash.CallFunction(\"<invoke name=\\\"__vqz_RefreshBackground\\\" returntype=\\\"xml\\\">"
        L"<arguments></arguments></invoke>\")",
        L"flash host QueryService(SID_IBindHost) = 0x00000000",
        L"flash host CreateMoniker(\"C:\\\\Vistello.9EA84E08259647B1995FC2CEB15B7423\\\\bgimg\\\\0.bin\") = 0x00000000",
        L"flash bind OnStartBinding",
        L"flash bind OnDataAvailable(5, 12)",
        L"flash bind OnStopBinding(0x00000001)",
        L"flash background uniform FF123456",
        L"flash host MonikerBindToStorage = 0x00000000",
        L"flash IConnectionPoint.Unadvise(_IShockwaveFlashEvents, 1)",
        L"flash IOleInPlaceObject.InPlaceDeactivate",
        L"flash IOleObject.Close(1)",
        L"flash IOleObject.SetClientSite(null)",
        L"flash released",
    };
    EXPECT_EQ(golden, log.Lines({L"IViewObject.Draw"}));
    EXPECT_EQ((std::vector<std::wstring>{kMovieName, kBackgroundName}), bindHost->requests);

    site->Release();
    bag->Release();
    bindHost->Release();
}

TEST(FlashControl, LoadsByPathWhenTheSiteHasNoBindHost)
{
    ComScope com;
    ControlRegistration registration(StandInControl::Flash9);
    ControlLogFile log;
    ScratchFolder folder;
    std::wstring movie = folder.File(L"plain.swf");
    ASSERT_TRUE(WriteTextFile(movie, "standin-movie 1\nframe FF000000\nanswer f <string>done</string>\n"));
    HostWindow window(160, 120);
    TestControlSite* site = new TestControlSite(window.Get(), RECT{0, 0, 160, 120}, false, nullptr);
    IOleObject* control = nullptr;
    ASSERT_EQ(S_OK, site->Create(CLSID_ShockwaveFlash, nullptr, &control));
    IShockwaveFlash* flash = QueryAs<IShockwaveFlash>(control, IID_IShockwaveFlash);
    ASSERT_NE(nullptr, flash);
    log.Clear();

    BSTR name = SysAllocString((L"file:///" + movie).c_str());
    EXPECT_EQ(S_OK, flash->put_Movie(name));
    SysFreeString(name);
    BSTR request = SysAllocString(L"<invoke name=\"f\" returntype=\"xml\"><arguments></arguments></invoke>");
    BSTR response = nullptr;
    EXPECT_EQ(S_OK, flash->CallFunction(request, &response));
    EXPECT_STREQ(L"<string>done</string>", response);
    SysFreeString(response);
    SysFreeString(request);
    request = SysAllocString(L"<invoke name=\"g\" returntype=\"xml\"><arguments></arguments></invoke>");
    EXPECT_EQ(E_FAIL, flash->CallFunction(request, &response));
    EXPECT_EQ(nullptr, response);
    SysFreeString(request);
    name = SysAllocString(folder.File(L"missing.swf").c_str());
    EXPECT_EQ(S_OK, flash->put_Movie(name));
    SysFreeString(name);

    const std::vector<std::wstring> golden = {
        L"flash IShockwaveFlash.put_Movie(\"file:///X\")",
        L"flash host QueryService(SID_IBindHost) = 0x80004002",
        L"flash movie loaded 1 frames",
        L"flash IShockwaveFlash.CallFunction(\"<invoke name=\\\"f\\\" returntype=\\\"xml\\\"><arguments></arguments>"
        L"</invoke>\")",
        L"flash IShockwaveFlash.CallFunction(\"<invoke name=\\\"g\\\" returntype=\\\"xml\\\"><arguments></arguments>"
        L"</invoke>\")",
        L"flash CallFunction refused",
        L"flash IShockwaveFlash.put_Movie(\"X\")",
        L"flash host QueryService(SID_IBindHost) = 0x80004002",
        L"flash movie failed 0x80070002",
    };
    std::vector<std::wstring> lines = log.Lines({L"IViewObject.Draw"});
    // The scratch folder's path is the test's own.
    ReplaceQuoted(lines, movie, L"X");
    ReplaceQuoted(lines, folder.File(L"missing.swf"), L"X");
    EXPECT_EQ(golden, lines);

    flash->Release();
    TestControlSite::Destroy(control);
    control->Release();
    site->Release();
}

TEST(FlashControl, AcceptsASecondLoadAndAppliesItAgain)
{
    ComScope com;
    ControlRegistration registration(StandInControl::Flash10);
    ControlLogFile log;
    ScratchFolder folder;
    std::wstring movie = folder.File(L"again.swf");
    ASSERT_TRUE(WriteTextFile(movie, "standin-movie 1\nframe FF000000\n"));
    TestPropertyBag* bag = new TestPropertyBag({{L"movie", movie}});
    IPersistPropertyBag* persist = nullptr;
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_ShockwaveFlash, nullptr, CLSCTX_INPROC_SERVER, IID_IPersistPropertyBag,
                                     reinterpret_cast<void**>(&persist)));
    EXPECT_EQ(S_OK, persist->Load(bag, nullptr));
    EXPECT_EQ(S_OK, persist->Load(bag, nullptr));
    persist->Release();
    bag->Release();

    std::vector<std::wstring> loads;
    for (const std::wstring& line : log.Lines()) {
        if (line.find(L"Load") != std::wstring::npos || line.find(L"movie loaded") != std::wstring::npos)
            loads.push_back(line);
    }
    EXPECT_EQ((std::vector<std::wstring>{L"flash IPersistPropertyBag.Load", L"flash movie loaded 1 frames",
                                          L"flash IPersistPropertyBag.Load (load 2)", L"flash movie loaded 1 frames"}),
              loads);
}

TEST(FlashControl, AnswersTheDispatchIdsHostsUse)
{
    ComScope com;
    ControlRegistration registration(StandInControl::Flash101);
    ControlLogFile log;
    ScratchFolder folder;
    std::wstring movie = folder.File(L"three.swf");
    ASSERT_TRUE(WriteTextFile(movie, "standin-movie 1\nframe FF000000\nframe FF000000\nframe FF000000\n"));
    IDispatch* flash = nullptr;
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_ShockwaveFlash, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                     reinterpret_cast<void**>(&flash)));
    auto put = [&](DISPID id, VARIANT value) {
        DISPID named = DISPID_PROPERTYPUT;
        DISPPARAMS params = {&value, &named, 1, 1};
        return flash->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr, nullptr);
    };
    auto call = [&](DISPID id, WORD flags, std::vector<VARIANT> arguments, VARIANT* result) {
        DISPPARAMS params = {arguments.empty() ? nullptr : arguments.data(), nullptr,
                             static_cast<UINT>(arguments.size()), 0};
        return flash->Invoke(id, IID_NULL, 0, flags, &params, result, nullptr, nullptr);
    };
    VARIANT value;
    value.vt = VT_BSTR;
    value.bstrVal = SysAllocString(movie.c_str());
    EXPECT_EQ(S_OK, put(kFlashDispMovie, value));
    VariantClear(&value);
    value.vt = VT_BOOL;
    value.boolVal = VARIANT_FALSE;
    EXPECT_EQ(S_OK, put(kFlashDispPlaying, value));
    value.vt = VT_I2;  // coerced, as automation does
    value.iVal = 2;
    EXPECT_EQ(S_OK, call(kFlashDispGotoFrame, DISPATCH_METHOD, {value}, nullptr));
    VARIANT result;
    VariantInit(&result);
    EXPECT_EQ(S_OK, call(kFlashDispCurrentFrame, DISPATCH_METHOD, {}, &result));
    EXPECT_EQ(VT_I4, result.vt);
    EXPECT_EQ(2, result.lVal);
    EXPECT_EQ(S_OK, call(kFlashDispPlaying, DISPATCH_PROPERTYGET, {}, &result));
    EXPECT_EQ(VT_BOOL, result.vt);
    EXPECT_EQ(VARIANT_FALSE, result.boolVal);
    EXPECT_EQ(S_OK, call(kFlashDispFlashVersion, DISPATCH_METHOD, {}, &result));
    EXPECT_EQ(0xA0001, result.lVal);
    EXPECT_EQ(S_OK, call(kFlashDispPlay, DISPATCH_METHOD, {}, &result));
    EXPECT_EQ(S_OK, call(kFlashDispPlaying, DISPATCH_PROPERTYGET, {}, &result));
    EXPECT_EQ(VARIANT_TRUE, result.boolVal);
    EXPECT_EQ(S_OK, call(kFlashDispStop, DISPATCH_METHOD, {}, &result));
    value.vt = VT_BSTR;
    value.bstrVal = SysAllocString(L"Low");
    EXPECT_EQ(S_OK, put(kFlashDispQuality2, value));
    VariantClear(&value);
    value.vt = VT_I4;
    value.lVal = 0x123456;
    EXPECT_EQ(S_OK, put(kFlashDispBackgroundColor, value));
    value.lVal = 3;
    EXPECT_EQ(S_OK, put(kFlashDispScaleMode, value));
    value.vt = VT_BOOL;
    value.boolVal = VARIANT_TRUE;
    EXPECT_EQ(S_OK, put(kFlashDispLoop, value));
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND, call(9999, DISPATCH_METHOD, {}, &result));
    EXPECT_EQ(DISP_E_BADPARAMCOUNT, call(kFlashDispGotoFrame, DISPATCH_METHOD, {}, nullptr));
    flash->Release();

    EXPECT_TRUE(log.Contains(L"flash IShockwaveFlash.GotoFrame(2)"));
    EXPECT_TRUE(log.Contains(L"flash IShockwaveFlash.put_Quality2(\"Low\")"));
    EXPECT_TRUE(log.Contains(L"flash IShockwaveFlash.put_BackgroundColor(1193046)"));
    EXPECT_TRUE(log.Contains(L"flash IShockwaveFlash.put_ScaleMode(3)"));
    EXPECT_TRUE(log.Contains(L"flash IShockwaveFlash.put_Loop(true)"));
    EXPECT_TRUE(log.Contains(L"flash IDispatch.Invoke(9999) = 0x80020003"));
}

}  // namespace
