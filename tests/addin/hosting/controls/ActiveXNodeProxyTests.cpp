#include "ProxyCalls.h"
#include "SceneTestSupport.h"
#include "addin/hosting/ActiveXNode.h"
#include "addin/hosting/ActiveXNodeProxy.h"
#include "addin/hosting/ContainerNodeProxy.h"
#include "addin/hosting/LayerNode.h"
#include "addin/hosting/NodeHost.h"
#include "addin/imaging/ImageFiles.h"
#include "addin/imaging/RasterImage.h"
#include "fixtures/ComScope.h"
#include "fixtures/Fixtures.h"
#include "hostapi/FlashInterfaces.h"
#include "tests/standins/controlsupport/ControlLogFile.h"
#include "tests/standins/controlsupport/ControlRegistration.h"
#include "tests/standins/controlsupport/TextFile.h"

#include <gtest/gtest.h>

#include <vector>

// The ActiveX part of a control node's proxy, driven by dispatch identifier
// over a node hosting the Flash stand-in.
namespace {

// The proxy class of the test's node kind: nothing of its own.
class TestControlProxy final : public ActiveXNodeProxy {
public:
    explicit TestControlProxy(ActiveXNode* node) : ActiveXNodeProxy(node, kIid) {}
};

class ProxyTestNode final : public ActiveXNode {
public:
    ProxyTestNode() : ActiveXNode(WindowedKind, false) {}
    int GetNodeType() const override { return Flash; }

protected:
    const CLSID* GetControlClsid() override { return &CLSID_ShockwaveFlash; }
    bool OnActivate() override { return true; }
    bool OnStart() override { return StartControl(); }
    bool ConnectEvents() override { return true; }
    NodeProxy* CreateProxy() override { return MakeNodeProxy<TestControlProxy>(this); }
};

class ActiveXNodeProxyTest : public ::testing::Test {
protected:
    ActiveXNodeProxyTest() : registration(StandInControl::Flash10), host(240, 160, 240, 160)
    {
        SetWindowPos(host.window.Get(), HWND_TOP, 0, 0, 240, 160, SWP_SHOWWINDOW);
        layer = host->CreateLayer(0, 0, 240, 160, true, false);
        auto* pane = AddTo(layer, new WindowedNode(0, 0, 0), 0, 0, 240, 160);
        node = AddTo(pane, new ProxyTestNode(), 20, 20, 80, 60);
        proxy = node->GetAutomationProxy();
        proxy->AddRef();
    }
    ~ActiveXNodeProxyTest() override { proxy->Release(); }

    ComScope com;
    ControlRegistration registration;
    ControlLogFile log;
    ScratchFolder folder;
    TestHost host;
    LayerNode* layer = nullptr;
    ProxyTestNode* node = nullptr;
    IDispatch* proxy = nullptr;
};

TEST_F(ActiveXNodeProxyTest, AnswersTheChainOfAControlNode)
{
    for (const IID* iid : {&ActiveXNodeProxy::kIid, &SceneNodeProxy::kIid, &NodeProxy::kNodeProxyIid}) {
        IUnknown* same = nullptr;
        EXPECT_EQ(S_OK, proxy->QueryInterface(*iid, reinterpret_cast<void**>(&same)));
        if (same)
            same->Release();
    }
    void* none = &none;
    EXPECT_EQ(E_NOINTERFACE, proxy->QueryInterface(ContainerNodeProxy::kIid, &none));
    EXPECT_EQ(nullptr, none);
}

TEST_F(ActiveXNodeProxyTest, InputFlagsAndPropertiesByIdentifier)
{
    VARIANT result;
    VariantInit(&result);
    EXPECT_EQ(S_OK, Call(proxy, 501, {I4(0x10)}));
    EXPECT_EQ(S_OK, Call(proxy, 500, {}, &result));
    EXPECT_EQ(0x14, result.lVal);
    EXPECT_EQ(DISP_E_BADVARTYPE, Call(proxy, 501, {Text(L"1")}));

    EXPECT_EQ(S_OK, Call(proxy, 503, {Text(L"flashvars"), Text(L"a=1&b=2")}));
    EXPECT_EQ(S_OK, Call(proxy, 502, {Text(L"flashvars")}, &result));
    ASSERT_EQ(VT_BSTR, result.vt);
    EXPECT_STREQ(L"a=1&b=2", result.bstrVal);
    VariantClear(&result);
    // A null value removes the property; an absent one reads as a null string.
    EXPECT_EQ(S_OK, Call(proxy, 503, {Text(L"flashvars"), Text(nullptr)}));
    EXPECT_EQ(S_OK, Call(proxy, 502, {Text(L"flashvars")}, &result));
    EXPECT_EQ(VT_BSTR, result.vt);
    EXPECT_EQ(nullptr, result.bstrVal);
    EXPECT_EQ(DISP_E_BADPARAMCOUNT, Call(proxy, 503, {Text(L"flashvars")}));
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND, Call(proxy, 506, {}));
}

TEST_F(ActiveXNodeProxyTest, SnapshotsAreWrittenOnlyWithAPicture)
{
    const std::wstring png = folder.File(L"snapshot.png");
    const std::wstring jpeg = folder.File(L"snapshot.jpg");
    VARIANT result;
    VariantInit(&result);
    // No control yet: no picture, no file.
    EXPECT_EQ(S_OK, Call(proxy, 505, {Text(png.c_str()), I4(6)}, &result));
    EXPECT_EQ(VARIANT_FALSE, result.boolVal);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(png.c_str()));

    const std::wstring movie = folder.File(L"green.swf");
    ASSERT_TRUE(WriteTextFile(movie, "standin-movie 1\nframe FF00FF00\n"));
    EXPECT_EQ(S_OK, Call(proxy, 503, {Text(L"movie"), Text(movie.c_str())}));
    EXPECT_EQ(S_OK, Call(proxy, 503, {Text(L"wmode"), Text(L"transparent")}));
    ASSERT_TRUE(layer->Start(true));
    host->RequestRepaint();
    PumpUntil([] { return false; }, 300);

    EXPECT_EQ(S_OK, Call(proxy, 505, {Text(png.c_str()), I4(6)}, &result));
    EXPECT_EQ(VARIANT_TRUE, result.boolVal);
    EXPECT_EQ(S_OK, Call(proxy, 504, {Text(jpeg.c_str()), I4(90)}, &result));
    EXPECT_EQ(VARIANT_TRUE, result.boolVal);
    for (const std::wstring& path : {png, jpeg}) {
        RasterImage* image = LoadImageFile(MKString(path.c_str()));
        ASSERT_NE(nullptr, image) << path.c_str();
        EXPECT_EQ(80, image->GetWidth());
        EXPECT_EQ(60, image->GetHeight());
        image->Release();
    }
    // A path that cannot be written: false, nothing left behind.
    const std::wstring missing = folder.File(L"no\\such\\folder\\x.png");
    EXPECT_EQ(S_OK, Call(proxy, 505, {Text(missing.c_str()), I4(6)}, &result));
    EXPECT_EQ(VARIANT_FALSE, result.boolVal);
}

}  // namespace
