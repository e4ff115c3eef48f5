#include "ProxyCalls.h"
#include "SceneTestSupport.h"
#include "addin/hosting/ActiveXNodeProxy.h"
#include "addin/hosting/LayerNode.h"
#include "addin/hosting/NodeHost.h"
#include "addin/hosting/WebBrowserNode.h"
#include "fixtures/ComScope.h"
#include "tests/standins/controlsupport/ControlLogFile.h"
#include "tests/standins/controlsupport/ControlRegistration.h"

#include <gtest/gtest.h>

#include <vector>

// A web node made and started by dispatch identifier, hosting the WebBrowser
// stand-in.
namespace {

const IID kFlashNodeProxyIid = {0xD2772614, 0xA880, 0x469E, {0x87, 0x65, 0x61, 0xD6, 0x32, 0x9E, 0x8B, 0x45}};

// The WebBrowser stand-in registered and a shown pane to put it in.
class WebBrowserNodeTest : public ::testing::Test {
protected:
    WebBrowserNodeTest() : host(240, 160, 240, 160)
    {
        SetWindowPos(host.window.Get(), HWND_TOP, 0, 0, 240, 160, SWP_SHOWWINDOW);
        layer = host->CreateLayer(0, 0, 240, 160, true, false);
        pane = AddTo(layer, new WindowedNode(0, 0, 0), 0, 0, 240, 160);
    }

    ComScope com;
    ControlRegistration registration{StandInControl::WebBrowser};
    ControlLogFile log;
    TestHost host;
    LayerNode* layer = nullptr;
    WindowedNode* pane = nullptr;
};

TEST_F(WebBrowserNodeTest, StartsAtTheStartAddressWithItsHostInformation)
{
    IDispatch* paneProxy = pane->GetAutomationProxy();

    VARIANT made;
    VariantInit(&made);
    ASSERT_EQ(S_OK, Call(paneProxy, 107, {}, &made));
    ASSERT_EQ(VT_DISPATCH, made.vt);
    IDispatch* web = made.pdispVal;
    ASSERT_NE(nullptr, web);
    // Plug-ins reach it under the Flash node proxy's identifier, written out
    // here as they declare it, whose own members it does not answer.
    for (const IID* iid : {&kFlashNodeProxyIid, &ActiveXNodeProxy::kIid, &SceneNodeProxy::kIid}) {
        IUnknown* same = nullptr;
        EXPECT_EQ(S_OK, web->QueryInterface(*iid, reinterpret_cast<void**>(&same)));
        if (same)
            same->Release();
    }
    for (DISPID id = 600; id <= 608; ++id)
        EXPECT_EQ(DISP_E_MEMBERNOTFOUND, Call(web, id, {})) << id;

    VARIANT rect[4];
    const float values[4] = {20, 20, 160, 100};
    for (int i = 0; i < 4; ++i) {
        rect[i].vt = VT_R4;
        rect[i].fltVal = values[i];
    }
    EXPECT_EQ(S_OK, Call(web, 5, {rect[0], rect[1], rect[2], rect[3]}));
    ASSERT_TRUE(layer->Start(true));
    ASSERT_TRUE(PumpUntil([&] { return log.Contains(L"fire DocumentComplete") || log.Contains(L"fire NavigateError"); }));

    std::vector<std::wstring> navigation;
    for (const std::wstring& line : log.Lines()) {
        if (line.find(L"browser host GetHostInfo") == 0 || line.find(L"browser IWebBrowser2.Navigate2") == 0 ||
            line.find(L"browser fire BeforeNavigate2") == 0)
            navigation.push_back(line);
    }
    ASSERT_EQ(3u, navigation.size());
    EXPECT_EQ(L"browser host GetHostInfo = 0x00000000 flags=0x00240090 doubleclick=0", navigation[0]);
    EXPECT_EQ(0u, navigation[1].find(L"browser IWebBrowser2.Navigate2(\"about:blank\", "));
    EXPECT_EQ(L"browser fire BeforeNavigate2(\"about:blank\") = 0x00000000, cancel false", navigation[2]);

    EXPECT_EQ(S_OK, Call(web, -2, {}));
    web->Release();
}

// The control is made at activation; the start puts it in place. When the
// window it would go into is gone, the start fails: no navigation, and the
// node no longer counts as animating.
TEST_F(WebBrowserNodeTest, AFailedStartNavigatesNowhereAndStopsAnimating)
{
    auto* web = AddTo(pane, new WebBrowserNode(), 20, 20, 160, 100);
    ASSERT_TRUE(web->Activate(false));
    EXPECT_TRUE(web->HasControl());
    EXPECT_FALSE(web->IsAnimating());
    ASSERT_TRUE(DestroyWindow(pane->GetNodeWindowHandle()));
    EXPECT_FALSE(web->Start(false));
    EXPECT_NE(SceneNode::Started, web->GetState());
    EXPECT_FALSE(web->IsAnimating());
    EXPECT_EQ(0, layer->GetAnimatingCount());
    EXPECT_FALSE(log.Contains(L"IWebBrowser2.Navigate2"));
}

}  // namespace
