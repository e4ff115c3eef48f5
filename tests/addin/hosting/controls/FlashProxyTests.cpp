// The Flash and effect movie nodes' proxies over the stand-in Flash Player,
// driven by dispatch identifier.
#include "ProxyCalls.h"
#include "SceneTestSupport.h"
#include "addin/hosting/FlashNodeProxy.h"
#include "addin/hosting/LayerNode.h"
#include "addin/hosting/MovieNodeProxy.h"
#include "addin/hosting/NodeHost.h"
#include "fixtures/ComScope.h"
#include "fixtures/Fixtures.h"
#include "tests/standins/controlsupport/ControlLogFile.h"
#include "tests/standins/controlsupport/ControlRegistration.h"
#include "tests/standins/controlsupport/TextFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A sink answering the movie's calls, as a plug-in attaches to its effect movie.
class CallSink final : public TestSinkWith<IMovieCallHandler, IID_IMovieCallHandler> {
public:
    HRESULT STDMETHODCALLTYPE HandleCall(BSTR, BSTR* response) override
    {
        *response = nullptr;
        return S_OK;
    }
};

class FlashProxyTest : public ::testing::TestWithParam<StandInControl> {
protected:
    FlashProxyTest() : registration(GetParam()), host(240, 160, 240, 160)
    {
        SetWindowPos(host.window.Get(), HWND_TOP, 0, 0, 240, 160, SWP_SHOWWINDOW);
        layer = host->CreateLayer(0, 0, 240, 160, true, false);
        pane = AddTo(layer, new WindowedNode(0, 0, 0), 0, 0, 240, 160);
        movie = folder.File(L"movie.swf");
        WriteTextFile(movie, "standin-movie 1\nrate 50\nframe FF00FF00\nframe FF0000FF\nanswer Echo <string>hi</string>\n");
    }

    IDispatch* Make(DISPID id, int32_t mode)
    {
        VARIANT made;
        VariantInit(&made);
        EXPECT_EQ(S_OK, Call(pane->GetAutomationProxy(), id, {I4(mode)}, &made));
        return made.vt == VT_DISPATCH ? made.pdispVal : nullptr;
    }

    ComScope com;
    ControlRegistration registration;
    ControlLogFile log;
    ScratchFolder folder;
    CallSink sink;  // outlives the host
    TestHost host;
    LayerNode* layer = nullptr;
    WindowedNode* pane = nullptr;
    std::wstring movie;
};

TEST_P(FlashProxyTest, FlashNodeDrivesItsControl)
{
    IDispatch* flash = Make(103, 0);
    ASSERT_NE(nullptr, flash);
    IUnknown* same = nullptr;
    EXPECT_EQ(S_OK, flash->QueryInterface(FlashNodeProxy::kIid, reinterpret_cast<void**>(&same)));
    if (same)
        same->Release();
    EXPECT_EQ(S_OK, Call(flash, 601, {Text(movie.c_str())}));
    EXPECT_EQ(S_OK, Call(flash, 603, {Text(L"a=1")}));
    VARIANT text = Get(flash, 600);
    EXPECT_EQ(movie, text.bstrVal);
    VariantClear(&text);
    text = Get(flash, 602);
    EXPECT_STREQ(L"a=1", text.bstrVal);
    VariantClear(&text);
    // No control yet: the control's failure is the answer.
    Get(flash, 604, E_FAIL);

    ASSERT_TRUE(layer->Start(true));
    EXPECT_EQ(S_OK, Call(flash, 605, {Bool(false)}));
    EXPECT_EQ(VARIANT_FALSE, Get(flash, 604).boolVal);
    EXPECT_EQ(S_OK, Call(flash, 607, {I4(1)}));
    VARIANT frame = Get(flash, 606);
    EXPECT_EQ(VT_I4, frame.vt);
    EXPECT_EQ(1, frame.lVal);
    EXPECT_EQ(S_OK, Call(flash, 605, {Bool(true)}));
    EXPECT_EQ(VARIANT_TRUE, Get(flash, 604).boolVal);
    VARIANT answer;
    VariantInit(&answer);
    EXPECT_EQ(S_OK, Call(flash, 608, {Text(L"<invoke name=\"Echo\" returntype=\"xml\"><arguments></arguments></invoke>")},
                         &answer));
    ASSERT_EQ(VT_BSTR, answer.vt);
    EXPECT_STREQ(L"<string>hi</string>", answer.bstrVal);
    VariantClear(&answer);
    EXPECT_EQ(S_OK, Call(flash, -2, {}));
    flash->Release();
}

// Off-screen needs player 10.1: an older one answers that nothing was done.
TEST_P(FlashProxyTest, MovieNodeUserValuesCallsAndOffScreen)
{
    IDispatch* effect = Make(104, 0);
    ASSERT_NE(nullptr, effect);
    IUnknown* same = nullptr;
    EXPECT_EQ(S_OK, effect->QueryInterface(MovieNodeProxy::kIid, reinterpret_cast<void**>(&same)));
    if (same)
        same->Release();
    EXPECT_EQ(S_OK, Call(effect, 701, {Text(L"colour"), Text(L"red")}));
    VARIANT value;
    VariantInit(&value);
    EXPECT_EQ(S_OK, Call(effect, 700, {Text(L"colour")}, &value));
    EXPECT_STREQ(L"red", value.bstrVal);
    VariantClear(&value);
    EXPECT_EQ(S_OK, Call(effect, 701, {Text(L"colour"), Text(nullptr)}));
    EXPECT_EQ(S_OK, Call(effect, 700, {Text(L"colour")}, &value));
    EXPECT_EQ(VT_BSTR, value.vt);
    EXPECT_EQ(nullptr, value.bstrVal);

    EXPECT_EQ(VARIANT_FALSE, Get(effect, 706).boolVal);
    const bool supported = GetParam() == StandInControl::Flash101;
    EXPECT_EQ(supported ? S_OK : S_FALSE, Call(effect, 707, {Bool(true)}));
    EXPECT_EQ(supported ? VARIANT_TRUE : VARIANT_FALSE, Get(effect, 706).boolVal);

    EXPECT_EQ(S_OK, Call(effect, 703, {Text(movie.c_str())}));
    VARIANT path = Get(effect, 702);
    EXPECT_EQ(movie, path.bstrVal);
    VariantClear(&path);
    VARIANT sinkValue;
    sinkValue.vt = VT_DISPATCH;
    sinkValue.pdispVal = static_cast<INodeEventSink*>(&sink);
    EXPECT_EQ(S_OK, Call(effect, -4, {sinkValue}));
    ASSERT_TRUE(layer->Activate(true) && layer->Start(true));
    VARIANT answer;
    VariantInit(&answer);
    EXPECT_EQ(S_OK, Call(effect, 705, {Text(L"<invoke name=\"Echo\" returntype=\"xml\"><arguments></arguments></invoke>")},
                         &answer));
    EXPECT_STREQ(L"<string>hi</string>", answer.bstrVal);
    VariantClear(&answer);
    EXPECT_EQ(S_OK, Call(effect, -2, {}));
    effect->Release();
}

INSTANTIATE_TEST_SUITE_P(Players, FlashProxyTest, ::testing::Values(StandInControl::Flash10, StandInControl::Flash101),
                         [](const ::testing::TestParamInfo<StandInControl>& info) {
                             return info.param == StandInControl::Flash10 ? "Player10" : "Player101";
                         });

}  // namespace
