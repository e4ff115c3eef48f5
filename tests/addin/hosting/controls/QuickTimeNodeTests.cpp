// The QuickTime nodes over the stand-in QuickTime controls, driven through
// their proxies by dispatch identifier: start-up properties, the slots the
// nodes call on the running control and its movie, the answer to the movie's
// status report and the control node's painting.
#include "ProxyCalls.h"
#include "SceneTestSupport.h"
#include "addin/hosting/LayerNode.h"
#include "addin/hosting/NodeHost.h"
#include "addin/hosting/QuickTimeControlNode.h"
#include "addin/hosting/QuickTimeControlNodeProxy.h"
#include "addin/hosting/QuickTimePluginNode.h"
#include "addin/hosting/QuickTimePluginNodeProxy.h"
#include "fixtures/ComScope.h"
#include "fixtures/Fixtures.h"
#include "fixtures/WindowCapture.h"
#include "tests/standins/controlsupport/ControlLogFile.h"
#include "tests/standins/controlsupport/ControlRegistration.h"
#include "tests/standins/controlsupport/TextFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// The log lines of the control's interface and movie slots and its status
// events, in order.
std::vector<std::wstring> SlotLines(const ControlLogFile& log, const wchar_t* control)
{
    std::vector<std::wstring> lines;
    const std::wstring prefix = std::wstring(control) + L" ";
    for (const std::wstring& line : log.Lines()) {
        if (line.find(prefix) != 0)
            continue;
        const std::wstring rest = line.substr(prefix.size());
        if (rest.find(L"slot ") == 0 || rest.find(L"movie slot ") == 0 || rest.find(L"fire Status") == 0)
            lines.push_back(rest);
    }
    return lines;
}

size_t CountOf(const std::vector<std::wstring>& lines, const std::wstring& line)
{
    size_t count = 0;
    for (const std::wstring& each : lines)
        count += each == line;
    return count;
}

class QuickTimeNodeTest : public ::testing::Test {
protected:
    QuickTimeNodeTest() : control(StandInControl::QuickTime), plugin(StandInControl::QuickTimePlugin), host(240, 160, 240, 160)
    {
        SetWindowPos(host.window.Get(), HWND_TOP, 0, 0, 240, 160, SWP_SHOWWINDOW);
        layer = host->CreateLayer(0, 0, 240, 160, true, false);
        pane = AddTo(layer, new WindowedNode(0, 0, 0), 0, 0, 240, 160);
        paneProxy = pane->GetAutomationProxy();
        movie = folder.File(L"clip.mov");
        WriteTextFile(movie, "standin-movie 1\nrate 50\nframe FF0000FF\n");
    }

    // A child made by the pane's proxy, placed at the rectangle.
    IDispatch* Make(DISPID id, std::vector<VARIANT> args, float x, float y, float width, float height)
    {
        VARIANT made;
        VariantInit(&made);
        EXPECT_EQ(S_OK, Call(paneProxy, id, std::move(args), &made));
        EXPECT_EQ(VT_DISPATCH, made.vt);
        IDispatch* proxy = made.pdispVal;
        if (proxy) {
            EXPECT_EQ(S_OK, Call(proxy, 5, {R4(x), R4(y), R4(width), R4(height)}));
        }
        return proxy;
    }

    QuickTimeControlNode* ControlNode(size_t index = 0) const
    {
        return static_cast<QuickTimeControlNode*>(pane->GetChild(int(index)));
    }

    ComScope com;
    ControlRegistration control;
    ControlRegistration plugin;
    ControlLogFile log;
    ScratchFolder folder;
    TestHost host;
    LayerNode* layer = nullptr;
    WindowedNode* pane = nullptr;
    IDispatch* paneProxy = nullptr;
    std::wstring movie;
};

TEST_F(QuickTimeNodeTest, ControlNodeAppliesItsFlagsAndPlaysWhenTheMovieLoads)
{
    IDispatch* quickTime = Make(106, {}, 20, 20, 160, 120);
    ASSERT_NE(nullptr, quickTime);
    for (const IID* iid : {&QuickTimeControlNodeProxy::kIid, &ActiveXNodeProxy::kIid, &SceneNodeProxy::kIid}) {
        IUnknown* same = nullptr;
        EXPECT_EQ(S_OK, quickTime->QueryInterface(*iid, reinterpret_cast<void**>(&same)));
        if (same)
            same->Release();
    }
    EXPECT_EQ(S_OK, Call(quickTime, 901, {Text(movie)}));
    EXPECT_EQ(S_OK, Call(quickTime, 908, {Bool(true)}));
    EXPECT_EQ(S_OK, Call(quickTime, 914, {Bool(true)}));
    // Stored for later: no control yet, so no movie to play.
    VARIANT played = Get(quickTime, 902);
    EXPECT_EQ(VARIANT_FALSE, played.boolVal);
    EXPECT_EQ(VARIANT_TRUE, Get(quickTime, 909).boolVal);

    ASSERT_TRUE(layer->Start(true));
    ASSERT_TRUE(PumpUntil([&] { return log.Contains(L"fire Status(0, 4099"); }));

    std::vector<std::wstring> lines = SlotLines(log, L"quicktime");
    ReplaceQuoted(lines, movie, L"X");
    // Initialised once (activation and start both ask), the URL from the bag.
    EXPECT_EQ(1u, CountOf(lines, L"slot 14 Initialise(I4 0, missing)"));
    EXPECT_EQ(0u, CountOf(lines, L"slot 17 URL(\"X\")"));
    // The start applies both flags and plays; the status report does it again
    // (the stand-in logs the event once the sink has answered).
    const std::vector<std::wstring> applied = {
        L"slot 42 ControlFlag(true)", L"slot 24 Movie = movie", L"movie slot 28 Flag(true)",
        L"slot 24 Movie = movie",     L"movie slot 182 Play(missing)",
    };
    std::vector<std::wstring> expected = {L"slot 14 Initialise(I4 0, missing)"};
    expected.insert(expected.end(), applied.begin(), applied.end());
    expected.insert(expected.end(), applied.begin(), applied.end());
    expected.push_back(L"fire Status(0, 4099, \"X\") = 0x00000000");
    EXPECT_EQ(expected, lines);

    // The movie's commands reach its slots.
    log.Clear();
    for (DISPID id : {903, 904, 905, 906})
        EXPECT_EQ(VARIANT_TRUE, Get(quickTime, id).boolVal) << id;
    lines = SlotLines(log, L"quicktime");
    EXPECT_EQ((std::vector<std::wstring>{L"slot 24 Movie = movie", L"movie slot 181 Command", L"slot 24 Movie = movie",
                                         L"movie slot 197 Command", L"slot 24 Movie = movie", L"movie slot 187 Command",
                                         L"slot 24 Movie = movie", L"movie slot 193 Command"}),
              lines);

    EXPECT_EQ(S_OK, Call(quickTime, -2, {}));
    quickTime->Release();
}

TEST_F(QuickTimeNodeTest, RunningControlGetsTheSettersThroughItsSlots)
{
    IDispatch* quickTime = Make(106, {}, 20, 20, 160, 120);
    ASSERT_NE(nullptr, quickTime);
    EXPECT_EQ(S_OK, Call(quickTime, 901, {Text(movie)}));
    EXPECT_EQ(S_OK, Call(quickTime, 910, {Bool(false)}));
    EXPECT_EQ(S_OK, Call(quickTime, 912, {I4(1)}));
    EXPECT_EQ(1, Get(quickTime, 911).lVal);
    ASSERT_TRUE(layer->Start(true));
    ASSERT_TRUE(PumpUntil([&] { return log.Contains(L"fire Status(0, 4099"); }));
    std::vector<std::wstring> lines = SlotLines(log, L"quicktime");
    // A non-zero init option gives the second argument; play on load is off.
    EXPECT_EQ(1u, CountOf(lines, L"slot 14 Initialise(I4 0, I4 0)"));
    EXPECT_EQ(0u, CountOf(lines, L"movie slot 182 Play(missing)"));

    log.Clear();
    QuickTimeControlNode* node = ControlNode();
    // The same URL makes no call; another one does.
    EXPECT_EQ(S_OK, Call(quickTime, 901, {Text(movie)}));
    node->SetBorderStyle(1);
    node->SetBorderColor(0x000000FF);
    node->SetMovieControllerVisible(false);
    node->SetSizing(3);
    node->SetAutoPlayProperty(true);
    EXPECT_EQ(S_OK, Call(quickTime, 908, {Bool(true)}));
    EXPECT_EQ(S_OK, Call(quickTime, 914, {Bool(false)}));
    const std::wstring other = folder.File(L"other.mov");
    WriteTextFile(other, "standin-movie 1\nframe FF00FF00\n");
    EXPECT_EQ(S_OK, Call(quickTime, 901, {Text(other)}));
    lines = SlotLines(log, L"quicktime");
    ReplaceQuoted(lines, other, L"Y");
    EXPECT_EQ((std::vector<std::wstring>{L"slot 12 BorderStyle(1)", L"slot 10 BorderColor(16711680)",
                                         L"slot 36 MovieControllerVisible(false)", L"slot 55 Sizing(3)",
                                         L"slot 61 AutoPlay(\"true\")", L"slot 24 Movie = movie",
                                         L"movie slot 28 Flag(true)", L"slot 42 ControlFlag(false)",
                                         L"slot 17 URL(\"Y\")"}),
              lines);
    VARIANT url = Get(quickTime, 900);
    EXPECT_EQ(other, url.bstrVal);
    VariantClear(&url);
    EXPECT_EQ(S_OK, Call(quickTime, -2, {}));
    quickTime->Release();
}

TEST_F(QuickTimeNodeTest, ControlNodeStartUpPropertiesAndOneInitialisation)
{
    IDispatch* quickTime = Make(106, {}, 20, 20, 160, 120);
    ASSERT_NE(nullptr, quickTime);
    QuickTimeControlNode* node = ControlNode();
    EXPECT_EQ(SceneNode::QuickTimeControl, node->GetNodeType());
    MKString value;
    const std::pair<const wchar_t*, const wchar_t*> bag[] = {
        {L"bgcolor", L"FF0000"}, {L"BorderStyle", L"0"}, {L"BorderColor", L"16711680"},
        {L"Sizing", L"2"},       {L"MovieControllerVisible", L"true"}, {L"autoplay", L"false"},
    };
    for (const auto& [name, expected] : bag) {
        ASSERT_TRUE(node->GetProperty(MKString(name), value)) << name;
        EXPECT_STREQ(expected, value.GetText()) << name;
    }
    // Red and blue exchanged for the control.
    node->SetBorderColor(0x00332211);
    ASSERT_TRUE(node->GetProperty(MKString(L"BorderColor"), value));
    EXPECT_STREQ(L"1122867", value.GetText());  // 0x112233
    // Before the control exists the URL is written each time.
    node->SetUrl(MKString(L"a.mov"));
    node->RemoveProperty(MKString(L"URL"));
    node->SetUrl(MKString(L"a.mov"));
    EXPECT_TRUE(node->GetProperty(MKString(L"URL"), value));
    EXPECT_STREQ(L"a.mov", value.GetText());
    node->SetUrl(MKString(movie.c_str()));

    EXPECT_FALSE(node->Initialise());  // no control: nothing called, not counted
    EXPECT_FALSE(node->IsInitialised());
    ASSERT_TRUE(layer->Activate(true));
    EXPECT_TRUE(node->IsInitialised());
    EXPECT_FALSE(node->Initialise());
    ASSERT_TRUE(layer->Start(true));
    EXPECT_EQ(1u, CountOf(SlotLines(log, L"quicktime"), L"slot 14 Initialise(I4 0, missing)"));

    EXPECT_EQ(S_OK, Call(quickTime, -2, {}));
    quickTime->Release();
}

TEST_F(QuickTimeNodeTest, ControlNodePaintsRedAroundTheMovieOnlyOnce)
{
    IDispatch* withMovie = Make(106, {}, 10, 10, 100, 80);
    IDispatch* without = Make(106, {}, 120, 10, 100, 80);
    ASSERT_TRUE(withMovie && without);
    EXPECT_EQ(S_OK, Call(withMovie, 901, {Text(movie)}));
    EXPECT_EQ(S_OK, Call(withMovie, 910, {Bool(false)}));
    ASSERT_TRUE(layer->Start(true));
    ASSERT_TRUE(PumpUntil([&] { return log.Contains(L"fire Status(0, 4099"); }));
    host->RequestRepaint();
    PumpUntil([] { return false; }, 300);

    int width = 0, height = 0;
    std::vector<DWORD> first = CapturePane(host.window.Get(), L"quicktime_first", width, height, true);
    ASSERT_EQ(240, width);
    auto at = [&](const std::vector<DWORD>& pixels, int x, int y) { return pixels[y * width + x] & 0xFFFFFF; };
    // The node's red fills both windows, movie or not.
    EXPECT_TRUE(Near(at(first, 50, 40), 0xFF0000));
    EXPECT_TRUE(Near(at(first, 50, 85), 0xFF0000));
    EXPECT_TRUE(Near(at(first, 160, 40), 0xFF0000));

    // Something else drawn over both, then a repaint: the node spares the
    // movie and its controller strip, and fills a window without movie again.
    for (size_t i = 0; i < 2; ++i) {
        HWND window = ControlNode(i)->GetControlWindow();
        ASSERT_NE(nullptr, window);
        HDC dc = GetDC(window);
        RECT client;
        GetClientRect(window, &client);
        HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
        FillRect(dc, &client, green);
        DeleteObject(green);
        ReleaseDC(window, dc);
        InvalidateRect(window, nullptr, FALSE);
        UpdateWindow(window);
    }
    PumpUntil([] { return false; }, 200);
    std::vector<DWORD> later = CapturePane(host.window.Get(), L"quicktime_later", width, height, true);
    EXPECT_TRUE(Near(at(later, 50, 40), 0x00FF00));
    EXPECT_TRUE(Near(at(later, 50, 85), 0x00FF00));  // the controller strip
    EXPECT_TRUE(Near(at(later, 160, 40), 0xFF0000)) << std::hex << at(later, 160, 40) << " " << at(later, 50, 40);
    for (IDispatch* proxy : {withMovie, without}) {
        EXPECT_EQ(S_OK, Call(proxy, -2, {}));
        proxy->Release();
    }
}

TEST_F(QuickTimeNodeTest, PluginNodeLoadsItsSourceAndTakesChangesWhileRunning)
{
    IDispatch* windowless = Make(105, {Bool(true)}, 10, 10, 100, 80);
    IDispatch* windowed = Make(105, {Bool(false)}, 120, 10, 100, 80);
    ASSERT_TRUE(windowless && windowed);
    for (IDispatch* proxy : {windowless, windowed}) {
        IUnknown* same = nullptr;
        EXPECT_EQ(S_OK, proxy->QueryInterface(QuickTimePluginNodeProxy::kIid, reinterpret_cast<void**>(&same)));
        if (same)
            same->Release();
    }
    auto* transparent = static_cast<QuickTimePluginNode*>(pane->GetChild(0));
    auto* own = static_cast<QuickTimePluginNode*>(pane->GetChild(1));
    EXPECT_EQ(SceneNode::QuickTimePlugin, transparent->GetNodeType());
    EXPECT_TRUE(transparent->HasCapability(SceneNode::KeepsControlSize));
    EXPECT_FALSE(own->HasCapability(SceneNode::KeepsControlSize));
    MKString value;
    EXPECT_TRUE(transparent->GetProperty(MKString(L"wmode"), value));
    EXPECT_STREQ(L"transparent", value.GetText());
    EXPECT_FALSE(own->GetProperty(MKString(L"wmode"), value));
    for (const auto& [name, expected] : {std::pair{L"bgcolor", L"000000"}, std::pair{L"scale", L"aspect"},
                                         std::pair{L"autoplay", L"false"}}) {
        EXPECT_TRUE(own->GetProperty(MKString(name), value)) << name;
        EXPECT_STREQ(expected, value.GetText()) << name;
    }

    EXPECT_EQ(S_OK, Call(windowless, 801, {Text(movie)}));
    EXPECT_EQ(S_OK, Call(windowed, 801, {Text(movie)}));
    ASSERT_TRUE(layer->Start(true));
    ASSERT_TRUE(PumpUntil([&] {
        std::vector<std::wstring> lines = log.Lines();
        return std::count(lines.begin(), lines.end(), L"qtplugin movie loaded") == 2;
    }));
    // Activation sets autoplay to the value it has: no call, the bag keeps "false".
    EXPECT_FALSE(log.Contains(L"slot 43"));
    EXPECT_TRUE(log.Contains(L"qtplugin host QueryService(SID_IBindHost) = 0x00000000"));
    VARIANT src = Get(windowed, 800);
    EXPECT_EQ(movie, src.bstrVal);
    VariantClear(&src);

    log.Clear();
    EXPECT_EQ(S_OK, Call(windowed, 801, {Text(movie)}));
    own->SetAutoPlay(false);
    own->SetAutoPlay(true);
    const std::wstring other = folder.File(L"other.mov");
    WriteTextFile(other, "standin-movie 1\nframe FF00FF00\n");
    EXPECT_EQ(S_OK, Call(windowed, 801, {Text(other)}));
    std::vector<std::wstring> lines = SlotLines(log, L"qtplugin");
    ReplaceQuoted(lines, other, L"Y");
    EXPECT_EQ((std::vector<std::wstring>{L"slot 43 AutoPlay(1)", L"slot 57 Src(\"Y\")"}), lines);
    for (IDispatch* proxy : {windowless, windowed}) {
        EXPECT_EQ(S_OK, Call(proxy, -2, {}));
        proxy->Release();
    }
}

}  // namespace
