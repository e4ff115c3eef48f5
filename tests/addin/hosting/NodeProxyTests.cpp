#include "ProxyCalls.h"
#include "SceneTestSupport.h"
#include "addin/hosting/ContainerNodeProxy.h"
#include "addin/hosting/ImageNodeProxy.h"
#include "addin/hosting/LayerNode.h"
#include "addin/hosting/LayerNodeProxy.h"
#include "addin/hosting/NodeHost.h"
#include "addin/hosting/NodeHostProxy.h"
#include "addin/hosting/WindowedNodeProxy.h"
#include "addin/hosting/DibSurface.h"
#include "fixtures/ComScope.h"
#include "fixtures/Fixtures.h"
#include "fixtures/FreeSpy.h"
#include "fixtures/WindowCapture.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

// Plug-ins build and drive node trees only through Invoke by dispatch
// identifier: these tests do the same.
namespace {

// A call whose DISPATCH result is handed to the caller with its reference.
IDispatch* Make(IDispatch* proxy, DISPID id, std::vector<VARIANT> declared = {})
{
    VARIANT result;
    VariantInit(&result);
    EXPECT_EQ(S_OK, CallKeepingArguments(proxy, id, declared, &result));
    EXPECT_EQ(VT_DISPATCH, result.vt);
    return result.vt == VT_DISPATCH ? result.pdispVal : nullptr;
}

void Pump(int milliseconds)
{
    DWORD end = GetTickCount() + milliseconds;
    do {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        Sleep(5);
    } while (int(end - GetTickCount()) > 0);
}

class NodeProxyTest : public ::testing::Test {
protected:
    NodeProxyTest() : host(240, 160, 240, 160)
    {
        SetWindowPos(host.window.Get(), HWND_TOP, 0, 0, 240, 160, SWP_SHOWWINDOW);
        hostProxy = host->GetAutomationProxy();
        hostProxy->AddRef();
    }
    ~NodeProxyTest() override { hostProxy->Release(); }

    ComScope com;
    TestHost host;
    IDispatch* hostProxy = nullptr;
};

TEST_F(NodeProxyTest, PluginBuildsATreeByDispatchIdentifiersAndSeesItsColours)
{
    ScratchFolder folder;
    std::unique_ptr<DibSurface> picture(DibSurface::Create(nullptr, 20, 20));
    picture->FillAll(0, 0, 255, 255);
    const std::wstring path = folder.File(L"blue.png");
    ASSERT_TRUE(picture->SavePng(MKString(path.c_str()), 6));

    IDispatch* layer = Make(hostProxy, 2);
    ASSERT_NE(nullptr, layer);
    VARIANT ok;
    VariantInit(&ok);
    EXPECT_EQ(S_OK, CallKeepingArguments(layer, 5, {R4(0), R4(0), R4(240), R4(160)}, &ok));
    EXPECT_EQ(VARIANT_TRUE, ok.boolVal);
    IDispatch* windowed = Make(layer, 101, {I4(0), I4(0), I4(0)});
    ASSERT_NE(nullptr, windowed);
    EXPECT_EQ(S_OK, CallKeepingArguments(windowed, 5, {R4(20), R4(30), R4(100), R4(80)}));
    EXPECT_EQ(S_OK, CallKeepingArguments(windowed, 301, {I4(int32_t(0xFFFF0000))}));
    IDispatch* image = Make(windowed, 102);
    ASSERT_NE(nullptr, image);
    BSTR text = SysAllocString(path.c_str());
    VARIANT pathValue;
    pathValue.vt = VT_BSTR;
    pathValue.bstrVal = text;
    EXPECT_EQ(S_OK, CallKeepingArguments(image, 401, {pathValue}));
    SysFreeString(text);
    EXPECT_EQ(S_OK, CallKeepingArguments(image, 5, {R4(60), R4(20), R4(20), R4(20)}));

    VARIANT started;
    VariantInit(&started);
    EXPECT_EQ(S_OK, CallKeepingArguments(layer, 14, {Bool(true)}, &started));
    EXPECT_EQ(VARIANT_TRUE, started.boolVal);
    EXPECT_EQ(5, Get(windowed, 16).lVal);
    host->RequestRepaint();
    Pump(300);

    int width = 0, height = 0;
    std::vector<DWORD> pixels = CapturePane(host.window.Get(), L"proxy tree", width, height, true);
    ASSERT_EQ(240, width);
    auto at = [&](int x, int y) { return pixels[y * 240 + x] & 0xFFFFFF; };
    EXPECT_EQ(0xFF0000u, at(30, 40));    // the windowed node's colour
    EXPECT_EQ(0x0000FFu, at(90, 60));    // the image inside it
    const DWORD outside = at(5, 5);
    EXPECT_NE(0xFF0000u, outside);       // the background around it
    EXPECT_EQ(outside, at(200, 150));

    for (IDispatch* proxy : {image, windowed, layer})
        proxy->Release();
}

TEST_F(NodeProxyTest, ProxiesAnswerTheInterfacesOfTheirChain)
{
    IDispatch* layer = Make(hostProxy, 2);
    IDispatch* windowed = Make(layer, 101, {I4(0), I4(0), I4(0)});
    struct {
        IDispatch* proxy;
        std::vector<const IID*> answered;
        std::vector<const IID*> refused;
    } cases[] = {
        {hostProxy, {&NodeHostProxy::kIid, &NodeProxy::kNodeProxyIid}, {&SceneNodeProxy::kIid}},
        {layer,
         {&LayerNodeProxy::kIid, &ContainerNodeProxy::kIid, &SceneNodeProxy::kIid, &NodeProxy::kNodeProxyIid},
         {&WindowedNodeProxy::kIid, &NodeHostProxy::kIid}},
        {windowed,
         {&WindowedNodeProxy::kIid, &ContainerNodeProxy::kIid, &SceneNodeProxy::kIid, &IID_IDispatch},
         {&LayerNodeProxy::kIid, &ImageNodeProxy::kIid}},
    };
    for (const auto& c : cases) {
        for (const IID* iid : c.answered) {
            IUnknown* same = nullptr;
            EXPECT_EQ(S_OK, c.proxy->QueryInterface(*iid, reinterpret_cast<void**>(&same)));
            EXPECT_EQ(static_cast<IUnknown*>(c.proxy), same);
            if (same)
                same->Release();
        }
        for (const IID* iid : c.refused) {
            void* none = &none;
            EXPECT_EQ(E_NOINTERFACE, c.proxy->QueryInterface(*iid, &none));
            EXPECT_EQ(nullptr, none);
        }
    }
    EXPECT_EQ(E_POINTER, layer->QueryInterface(IID_IDispatch, nullptr));
    windowed->Release();
    layer->Release();
}

TEST_F(NodeProxyTest, ClosedProxyAnswersOnlyWhetherItIsClosed)
{
    IDispatch* layer = Make(hostProxy, 2);
    IDispatch* container = Make(layer, 100);
    ASSERT_NE(nullptr, container);
    EXPECT_EQ(VARIANT_FALSE, Get(container, -3).boolVal);
    VARIANT name = Get(container, -6);
    ASSERT_EQ(VT_BSTR, name.vt);
    EXPECT_EQ(0, wcsncmp(name.bstrVal, L"Object-", 7));
    VariantClear(&name);
    VARIANT renamed;
    renamed.vt = VT_BSTR;
    renamed.bstrVal = SysAllocString(L"panel");
    EXPECT_EQ(S_OK, CallKeepingArguments(container, -7, {renamed}));
    VariantClear(&renamed);
    name = Get(container, -6);
    EXPECT_STREQ(L"panel", name.bstrVal);
    VariantClear(&name);
    VARIANT id = Get(container, -5);
    EXPECT_EQ(VT_I8, id.vt);
    EXPECT_NE(0, id.llVal);

    EXPECT_EQ(S_OK, CallKeepingArguments(container, -2, {}));
    EXPECT_EQ(VARIANT_TRUE, Get(container, -3).boolVal);
    for (DISPID closed : {-1, -2, -5, -6, 1, 100, 200})
        EXPECT_EQ(E_FAIL, CallKeepingArguments(container, closed, {})) << closed;
    container->Release();
    layer->Release();
}

struct ErrorCase {
    const char* name;
    // 0 host, 1 layer, 2 windowed, 3 container, 4 Flash, 5 effect movie,
    // 6 QuickTime plug-in, 7 QuickTime Control (no control created)
    int target;
    DISPID id;
    std::vector<VARIANT> args;
    HRESULT expected;
};

// Readable memory that is no COM task memory.
const char kMovieBytes[] = "standin-movie 1\nframe FF00FF00\n";
const int64_t kMovieAddress = int64_t(intptr_t(kMovieBytes));

class NodeProxyErrors : public NodeProxyTest, public ::testing::WithParamInterface<ErrorCase> {};

TEST_P(NodeProxyErrors, RefusesWrongCountsTypesAndRanges)
{
    IDispatch* layer = Make(hostProxy, 2);
    IDispatch* windowed = Make(layer, 101, {I4(0), I4(0), I4(0)});
    IDispatch* container = Make(layer, 100);
    IDispatch* flash = Make(windowed, 103, {I4(0)});
    IDispatch* movie = Make(windowed, 104, {I4(0)});
    IDispatch* quickTimePlugin = Make(windowed, 105, {Bool(true)});
    IDispatch* quickTimeControl = Make(windowed, 106);
    IDispatch* targets[] = {hostProxy, layer, windowed, container, flash, movie, quickTimePlugin, quickTimeControl};
    auto* pane = static_cast<ContainerNode*>(host->GetLayer(0)->GetChild(0));
    const int childrenBefore = host->GetLayer(0)->GetChildCount();
    const int paneChildrenBefore = pane->GetChildCount();
    VARIANT result = I4(77);
    EXPECT_EQ(GetParam().expected, CallKeepingArguments(targets[GetParam().target], GetParam().id, GetParam().args, &result));
    if (FAILED(GetParam().expected)) {
        EXPECT_EQ(childrenBefore, host->GetLayer(0)->GetChildCount());
        EXPECT_EQ(paneChildrenBefore, pane->GetChildCount());
    }
    VariantClear(&result);
    for (IDispatch* proxy : {quickTimeControl, quickTimePlugin, movie, flash, container, windowed, layer})
        proxy->Release();
}

INSTANTIATE_TEST_SUITE_P(
    Matrix, NodeProxyErrors,
    ::testing::Values(
        ErrorCase{"UnknownId", 1, 999, {}, DISP_E_MEMBERNOTFOUND},
        ErrorCase{"HostIdOnNode", 3, 200, {}, DISP_E_MEMBERNOTFOUND},
        ErrorCase{"WindowedIdOnLayer", 1, 300, {}, DISP_E_MEMBERNOTFOUND},
        ErrorCase{"GetWidthWithArgument", 1, 3, {I4(1)}, DISP_E_BADPARAMCOUNT},
        ErrorCase{"SetRectWithI4", 2, 5, {I4(0), R4(0), R4(10), R4(10)}, DISP_E_BADVARTYPE},
        ErrorCase{"SetRectThreeArgs", 2, 5, {R4(0), R4(0), R4(10)}, DISP_E_BADPARAMCOUNT},
        ErrorCase{"GetRectByValue", 2, 6, {R4(0), R4(0), R4(0), R4(0)}, DISP_E_BADVARTYPE},
        ErrorCase{"SetVisibleWithI4", 2, 12, {I4(1)}, DISP_E_BADVARTYPE},
        ErrorCase{"WindowMode4", 1, 101, {I4(4), I4(0), I4(0)}, E_INVALIDARG},
        ErrorCase{"WindowModeNegative", 1, 101, {I4(-1), I4(0), I4(0)}, E_INVALIDARG},
        ErrorCase{"NativeTwo", 1, 101, {I4(0), I4(2), I4(0)}, E_INVALIDARG},
        ErrorCase{"RendererThree", 1, 101, {I4(0), I4(0), I4(3)}, E_INVALIDARG},
        ErrorCase{"WindowedWithBool", 1, 101, {Bool(true), I4(0), I4(0)}, DISP_E_BADVARTYPE},
        ErrorCase{"BackgroundAsR4", 2, 301, {R4(1)}, DISP_E_BADVARTYPE},
        ErrorCase{"BackgroundAsI8", 2, 301, {I8(1)}, DISP_E_BADVARTYPE},
        ErrorCase{"HostFlagsThree", 0, 1, {I8(0), I4(3)}, E_INVALIDARG},
        ErrorCase{"HostFlagsNegative", 0, 1, {I8(0), I4(-1)}, E_INVALIDARG},
        ErrorCase{"HostWindowAsI4", 0, 1, {I4(0), I4(0)}, DISP_E_BADVARTYPE},
        ErrorCase{"HostSizeWithI4", 0, 5, {I4(1), R4(1)}, DISP_E_BADVARTYPE},
        ErrorCase{"SinkNotDispatch", 1, -4, {I4(0)}, DISP_E_BADVARTYPE},
        ErrorCase{"SinkNull", 1, -4, {Dispatch(nullptr)}, S_OK},
        ErrorCase{"IsClosedWithArgument", 1, -3, {I4(0)}, DISP_E_BADPARAMCOUNT},
        ErrorCase{"LinkedNodeNull", 2, 23, {Dispatch(nullptr)}, S_OK},
        ErrorCase{"FlashWithoutMode", 2, 103, {}, DISP_E_BADPARAMCOUNT},
        ErrorCase{"FlashModeAsBool", 2, 103, {Bool(true)}, DISP_E_BADVARTYPE},
        ErrorCase{"MovieModeAsR4", 2, 104, {R4(0)}, DISP_E_BADVARTYPE},
        ErrorCase{"QuickTimePluginWindowlessAsI4", 2, 105, {I4(1)}, DISP_E_BADVARTYPE},
        ErrorCase{"QuickTimeControlWithArgument", 2, 106, {I4(0)}, DISP_E_BADPARAMCOUNT},
        ErrorCase{"WebBrowserWithArgument", 2, 107, {Bool(true)}, DISP_E_BADPARAMCOUNT},
        ErrorCase{"FlashMovieAsI4", 4, 601, {I4(1)}, DISP_E_BADVARTYPE},
        ErrorCase{"FlashVarsTwoArgs", 4, 603, {Text(L"a"), Text(L"b")}, DISP_E_BADPARAMCOUNT},
        ErrorCase{"FlashPlayingWithoutControl", 4, 604, {}, E_FAIL},
        ErrorCase{"FlashSetPlayingAsI4", 4, 605, {I4(1)}, DISP_E_BADVARTYPE},
        ErrorCase{"FlashFrameWithoutControl", 4, 606, {}, E_FAIL},
        ErrorCase{"FlashGotoFrameAsR4", 4, 607, {R4(1)}, DISP_E_BADVARTYPE},
        ErrorCase{"FlashGotoFrameWithoutControl", 4, 607, {I4(1)}, E_FAIL},
        ErrorCase{"MovieIdOnFlash", 4, 700, {Text(L"key")}, DISP_E_MEMBERNOTFOUND},
        ErrorCase{"QuickTimeIdOnFlash", 4, 800, {}, DISP_E_MEMBERNOTFOUND},
        ErrorCase{"FlashIdOnMovie", 5, 600, {}, DISP_E_MEMBERNOTFOUND},
        ErrorCase{"UserValueEmptyKey", 5, 700, {Text(L"")}, E_INVALIDARG},
        ErrorCase{"UserValueKeyAsI4", 5, 700, {I4(1)}, DISP_E_BADVARTYPE},
        ErrorCase{"SetUserValueEmptyKey", 5, 701, {Text(L""), Text(L"v")}, E_INVALIDARG},
        ErrorCase{"SetUserValueOneArg", 5, 701, {Text(L"k")}, DISP_E_BADPARAMCOUNT},
        ErrorCase{"MoviePathWithArgument", 5, 702, {Text(L"x")}, DISP_E_BADPARAMCOUNT},
        ErrorCase{"MovieDataNullAddress", 5, 704, {I8(0), I4(10)}, E_INVALIDARG},
        ErrorCase{"MovieDataZeroLength", 5, 704, {I8(kMovieAddress), I4(0)}, E_INVALIDARG},
        ErrorCase{"MovieDataNegativeLength", 5, 704, {I8(kMovieAddress), I4(-1)}, E_INVALIDARG},
        ErrorCase{"MovieDataAddressAsI4", 5, 704, {I4(int32_t(kMovieAddress)), I4(4)}, DISP_E_BADVARTYPE},
        ErrorCase{"MovieDataBeyond32Bits", 5, 704, {I8(kMovieAddress + 0x100000000LL), I4(4)}, E_INVALIDARG},
        ErrorCase{"MovieDataUnmapped", 5, 704, {I8(0x10), I4(4)}, E_INVALIDARG},
        ErrorCase{"MovieDataEndsAtTopOfAddressSpace", 5, 704, {I8(-1), I4(1)}, E_INVALIDARG},
        ErrorCase{"OffScreenAsI4", 5, 707, {I4(1)}, DISP_E_BADVARTYPE},
        ErrorCase{"OffScreenWithArgument", 5, 706, {Bool(true)}, DISP_E_BADPARAMCOUNT},
        ErrorCase{"QuickTimeSrcAsI4", 6, 801, {I4(1)}, DISP_E_BADVARTYPE},
        ErrorCase{"QuickTimeSrcWithArgument", 6, 800, {Text(L"x")}, DISP_E_BADPARAMCOUNT},
        ErrorCase{"QuickTimeControlIdOnPlugin", 6, 900, {}, DISP_E_MEMBERNOTFOUND},
        ErrorCase{"QuickTimePluginIdOnControl", 7, 800, {}, DISP_E_MEMBERNOTFOUND},
        ErrorCase{"QuickTimeUrlAsBool", 7, 901, {Bool(true)}, DISP_E_BADVARTYPE},
        ErrorCase{"QuickTimePlayWithArgument", 7, 902, {I4(0)}, DISP_E_BADPARAMCOUNT},
        ErrorCase{"QuickTimePlayWithoutMovie", 7, 902, {}, S_OK},
        ErrorCase{"QuickTimeFlagAsI4", 7, 908, {I4(1)}, DISP_E_BADVARTYPE},
        ErrorCase{"QuickTimePlayOnLoadAsI4", 7, 910, {I4(1)}, DISP_E_BADVARTYPE},
        ErrorCase{"QuickTimeInitOptionAsBool", 7, 912, {Bool(true)}, DISP_E_BADVARTYPE},
        ErrorCase{"QuickTimeControlFlagTwoArgs", 7, 914, {Bool(true), Bool(true)}, DISP_E_BADPARAMCOUNT},
        ErrorCase{"QuickTimeUnknownId", 7, 915, {}, DISP_E_MEMBERNOTFOUND},
        ErrorCase{"InputFlagsOnQuickTime", 7, 500, {}, S_OK},
        ErrorCase{"SetRectOnQuickTimeWithI4", 7, 5, {R4(0), R4(0), I4(10), R4(10)}, DISP_E_BADVARTYPE}),
    [](const ::testing::TestParamInfo<ErrorCase>& info) { return info.param.name; });

TEST_F(NodeProxyTest, LinkedNodeMustBeALayer)
{
    IDispatch* layer = Make(hostProxy, 2);
    IDispatch* container = Make(layer, 100);
    IDispatch* windowed = Make(layer, 101, {I4(0), I4(0), I4(0)});
    EXPECT_EQ(E_INVALIDARG, CallKeepingArguments(windowed, 23, {Dispatch(container)}));
    EXPECT_EQ(S_OK, CallKeepingArguments(windowed, 23, {Dispatch(layer)}));
    EXPECT_EQ(static_cast<SceneNode*>(host->GetLayer(0)), host->GetLayer(0)->GetChild(1)->GetLinkedNode());
    EXPECT_EQ(S_OK, CallKeepingArguments(windowed, 23, {Dispatch(nullptr)}));
    for (IDispatch* proxy : {windowed, container, layer})
        proxy->Release();
}

TEST_F(NodeProxyTest, BackgroundColourSplitsIntoItsBytes)
{
    IDispatch* layer = Make(hostProxy, 2);
    IDispatch* windowed = Make(layer, 101, {I4(0), I4(0), I4(0)});
    EXPECT_EQ(S_OK, CallKeepingArguments(windowed, 301, {I4(int32_t(0x80FF0000))}));
    auto* node = static_cast<WindowedNode*>(host->GetLayer(0)->GetChild(0));
    const uint8_t* rgba = node->GetBackgroundColor();
    EXPECT_EQ(0xFF, rgba[0]);
    EXPECT_EQ(0x00, rgba[1]);
    EXPECT_EQ(0x00, rgba[2]);
    EXPECT_EQ(0x80, rgba[3]);
    EXPECT_EQ(int32_t(0x80FF0000), Get(windowed, 300).lVal);
    EXPECT_EQ(S_OK, CallKeepingArguments(windowed, 301, {I4(0x00123456)}));
    EXPECT_EQ(0x00123456, Get(windowed, 300).lVal);
    windowed->Release();
    layer->Release();
}

TEST_F(NodeProxyTest, ClosedControlNodeProxiesAnswerOnlyWhetherTheyAreClosed)
{
    IDispatch* layer = Make(hostProxy, 2);
    IDispatch* windowed = Make(layer, 101, {I4(0), I4(0), I4(0)});
    struct {
        DISPID make;
        std::vector<VARIANT> args;
        std::vector<DISPID> own;
    } kinds[] = {
        {103, {I4(0)}, {600, 604, 608}},
        {104, {I4(1)}, {700, 702, 706, 707}},
        {105, {Bool(true)}, {800, 801}},
        {106, {}, {900, 902, 911}},
        {107, {}, {500}},
    };
    for (auto& kind : kinds) {
        IDispatch* proxy = Make(windowed, kind.make, kind.args);
        ASSERT_NE(nullptr, proxy) << kind.make;
        EXPECT_EQ(S_OK, CallKeepingArguments(proxy, -2, {}));
        EXPECT_EQ(VARIANT_TRUE, Get(proxy, -3).boolVal) << kind.make;
        std::vector<DISPID> refused = {-1, -2, -4, -5, -6, 1, 5, 16, 500, 502};
        refused.insert(refused.end(), kind.own.begin(), kind.own.end());
        for (DISPID id : refused) {
            VARIANT result = I4(5);
            EXPECT_EQ(E_FAIL, CallKeepingArguments(proxy, id, {}, &result)) << kind.make << " " << id;
        }
        proxy->Release();
    }
    windowed->Release();
    layer->Release();
}

TEST_F(NodeProxyTest, BackgroundColourSplitTable)
{
    IDispatch* layer = Make(hostProxy, 2);
    IDispatch* windowed = Make(layer, 101, {I4(0), I4(0), I4(0)});
    auto* node = static_cast<WindowedNode*>(host->GetLayer(0)->GetChild(0));
    const struct {
        uint32_t argb;
        uint8_t rgba[4];
    } cases[] = {
        {0x80FF0000, {0xFF, 0x00, 0x00, 0x80}}, {0x00123456, {0x12, 0x34, 0x56, 0x00}},
        {0xFFFFFFFF, {0xFF, 0xFF, 0xFF, 0xFF}}, {0x01020304, {0x02, 0x03, 0x04, 0x01}},
        {0x00000000, {0x00, 0x00, 0x00, 0x00}}, {0xFF0000FF, {0x00, 0x00, 0xFF, 0xFF}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(S_OK, CallKeepingArguments(windowed, 301, {I4(int32_t(c.argb))}));
        const uint8_t* rgba = node->GetBackgroundColor();
        EXPECT_EQ((std::vector<uint8_t>(c.rgba, c.rgba + 4)), std::vector<uint8_t>(rgba, rgba + 4)) << std::hex << c.argb;
        EXPECT_EQ(int32_t(c.argb), Get(windowed, 300).lVal);
    }
    windowed->Release();
    layer->Release();
}

// Movie data must lie in readable memory; the block handed in is the
// caller's task memory, which the node takes over and frees itself.
TEST_F(NodeProxyTest, MovieDataIsCheckedAndTheTaskBlockIsTakenOver)
{
    IDispatch* layer = Make(hostProxy, 2);
    IDispatch* windowed = Make(layer, 101, {I4(0), I4(0), I4(0)});
    IDispatch* movie = Make(windowed, 104, {I4(0)});
    ASSERT_NE(nullptr, movie);
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    const DWORD page = system.dwPageSize;
    auto* pages = static_cast<char*>(VirtualAlloc(nullptr, 2 * page, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    ASSERT_NE(nullptr, pages);
    DWORD old = 0;
    ASSERT_TRUE(VirtualProtect(pages + page, page, PAGE_NOACCESS, &old));
    const int64_t lastBytes = int64_t(intptr_t(pages + page - 4));
    // Running into the page that cannot be read.
    EXPECT_EQ(E_INVALIDARG, CallKeepingArguments(movie, 704, {I8(lastBytes), I4(8)}));
    EXPECT_EQ(E_INVALIDARG, CallKeepingArguments(movie, 704, {I8(int64_t(intptr_t(pages + page))), I4(1)}));
    EXPECT_TRUE(VirtualFree(pages, 0, MEM_RELEASE));

    FreeSpy spy;
    ASSERT_EQ(S_OK, CoRegisterMallocSpy(&spy));
    void* blocks[2] = {CoTaskMemAlloc(64), CoTaskMemAlloc(64)};
    ASSERT_NE(nullptr, blocks[0]);
    ASSERT_NE(nullptr, blocks[1]);
    for (void* block : blocks)
        memset(block, 'x', 64);
    // Taken as it is: kept while it is the movie, freed once replaced.
    EXPECT_EQ(S_OK, CallKeepingArguments(movie, 704, {I8(int64_t(intptr_t(blocks[0]))), I4(64)}));
    EXPECT_FALSE(spy.WasFreed(blocks[0]));
    VARIANT path = Get(movie, 702);
    EXPECT_EQ(VT_BSTR, path.vt);
    EXPECT_EQ(nullptr, path.bstrVal);  // data, no path
    EXPECT_EQ(S_OK, CallKeepingArguments(movie, 704, {I8(int64_t(intptr_t(blocks[1]))), I4(64)}));
    EXPECT_TRUE(spy.WasFreed(blocks[0]));
    EXPECT_FALSE(spy.WasFreed(blocks[1]));
    // The block held, handed in again, is kept, not freed under the node.
    EXPECT_EQ(S_OK, CallKeepingArguments(movie, 704, {I8(int64_t(intptr_t(blocks[1]))), I4(32)}));
    EXPECT_FALSE(spy.WasFreed(blocks[1]));
    // Memory that is not the task allocator's, or a block shorter than the
    // length, is refused: the node would free it with CoTaskMemFree.
    static char notTaskMemory[64] = "standin-movie 1\n";
    EXPECT_EQ(E_INVALIDARG, CallKeepingArguments(movie, 704, {I8(int64_t(intptr_t(notTaskMemory))), I4(16)}));
    void* shortBlock = CoTaskMemAlloc(16);
    ASSERT_NE(nullptr, shortBlock);
    memset(shortBlock, 'y', 16);
    EXPECT_EQ(E_INVALIDARG, CallKeepingArguments(movie, 704, {I8(int64_t(intptr_t(shortBlock))), I4(48)}));
    CoTaskMemFree(shortBlock);
    EXPECT_FALSE(spy.WasFreed(blocks[1]));
    // A path drops the data.
    BSTR moviePath = SysAllocString(L"C:\\movie.swf");
    VARIANT pathValue;
    pathValue.vt = VT_BSTR;
    pathValue.bstrVal = moviePath;
    EXPECT_EQ(S_OK, CallKeepingArguments(movie, 703, {pathValue}));
    SysFreeString(moviePath);
    EXPECT_TRUE(spy.WasFreed(blocks[1]));
    EXPECT_EQ(S_OK, CoRevokeMallocSpy());
    EXPECT_EQ(S_OK, CallKeepingArguments(movie, -2, {}));
    movie->Release();
    windowed->Release();
    layer->Release();
}

TEST_F(NodeProxyTest, GeometryReadsBackThroughReferences)
{
    IDispatch* layer = Make(hostProxy, 2);
    EXPECT_EQ(S_OK, CallKeepingArguments(layer, 5, {R4(10), R4(20), R4(100), R4(50)}));
    IDispatch* container = Make(layer, 100);
    EXPECT_EQ(S_OK, CallKeepingArguments(container, 5, {R4(5), R4(6), R4(30), R4(40)}));
    float values[4] = {};
    EXPECT_EQ(S_OK, CallKeepingArguments(container, 6, {RefR4(&values[0]), RefR4(&values[1]), RefR4(&values[2]), RefR4(&values[3])}));
    EXPECT_EQ((std::vector<float>{5, 6, 30, 40}), std::vector<float>(values, values + 4));
    EXPECT_EQ(S_OK, CallKeepingArguments(container, 7, {RefR4(&values[0]), RefR4(&values[1]), RefR4(&values[2]), RefR4(&values[3])}));
    EXPECT_EQ((std::vector<float>{15, 26, 30, 40}), std::vector<float>(values, values + 4));
    EXPECT_EQ(E_POINTER, CallKeepingArguments(container, 6, {RefR4(&values[0]), RefR4(nullptr), RefR4(&values[2]), RefR4(&values[3])}));
    EXPECT_FLOAT_EQ(240.0f, Get(hostProxy, 3).fltVal);
    EXPECT_EQ(240, Get(hostProxy, 8).lVal);
    VARIANT pixels;
    VariantInit(&pixels);
    EXPECT_EQ(S_OK, CallKeepingArguments(hostProxy, 10, {R4(10.4f)}, &pixels));
    EXPECT_EQ(10, pixels.lVal);
    EXPECT_EQ(S_OK, CallKeepingArguments(container, 8, {R4(10.4f)}, &pixels));
    EXPECT_EQ(VT_I4, pixels.vt);
    EXPECT_EQ(10, pixels.lVal);
    EXPECT_EQ(S_OK, CallKeepingArguments(container, 10, {R4(0.5f)}, &pixels));
    EXPECT_EQ(VT_EMPTY, pixels.vt);
    EXPECT_FLOAT_EQ(0.5f, Get(container, 9).fltVal);
    EXPECT_EQ(VARIANT_TRUE, Get(container, 11).boolVal);
    EXPECT_EQ(S_OK, CallKeepingArguments(container, 12, {Bool(false)}));
    EXPECT_EQ(VARIANT_FALSE, Get(container, 11).boolVal);
    // The host's topmost layer, not the one made through the proxy.
    VARIANT top = Get(hostProxy, 16);
    ASSERT_EQ(VT_DISPATCH, top.vt);
    LayerNode* topLayer = host->GetTopLayer();
    EXPECT_EQ(topLayer ? topLayer->GetAutomationProxy() : nullptr, top.pdispVal);
    EXPECT_NE(layer, top.pdispVal);
    VariantClear(&top);
    VARIANT topmost = Get(layer, 200);
    EXPECT_EQ(VARIANT_FALSE, topmost.boolVal);
    container->Release();
    layer->Release();
}

}  // namespace
