// ActiveX nodes hosting the stand-in Flash control in a scene's windows: what
// shows on screen, the control's call order, and where input goes.
#include "SceneTestSupport.h"
#include "addin/hosting/ActiveXNode.h"
#include "addin/hosting/ControlHostWindow.h"
#include "addin/hosting/HostHandler.h"
#include "addin/hosting/LayerNode.h"
#include "addin/hosting/LayerOwner.h"
#include "addin/hosting/NodeHost.h"
#include "addin/hosting/UrlResolver.h"
#include "addin/imaging/RasterImage.h"
#include "fixtures/ComScope.h"
#include "fixtures/Fixtures.h"
#include "fixtures/WindowCapture.h"
#include "hostapi/FlashInterfaces.h"
#include "tests/standins/controlsupport/ControlLogFile.h"
#include "tests/standins/controlsupport/ControlRegistration.h"
#include "tests/standins/controlsupport/TextFile.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

#include <memory>
#include <string>
#include <vector>

namespace {

class TestFlashNode : public ActiveXNode {
public:
    explicit TestFlashNode(int kind)
        : ActiveXNode(kind, false)
    {
    }
    int GetNodeType() const override { return Flash; }

    bool connectEvents = true;

protected:
    const CLSID* GetControlClsid() override { return &CLSID_ShockwaveFlash; }
    bool OnActivate() override { return true; }
    bool OnStart() override { return StartControl(); }
    bool ConnectEvents() override { return connectEvents; }
};

void Pump(int milliseconds)
{
    PumpUntil([] { return false; }, milliseconds);
}

// A message a target window received.
struct Received {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
std::vector<Received> s_received;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCHITTEST || (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST)
        || (message >= WM_KEYFIRST && message <= WM_KEYLAST))
        s_received.push_back({window, message, wParam, lParam});
    return DefWindowProcW(window, message, wParam, lParam);
}

// A visible top-level window at (x, y) of the screen recording its input.
HWND RecordingWindow(int x, int y)
{
    static ATOM atom = 0;
    if (!atom) {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = RecordingProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"VistelloInputTarget";
        atom = RegisterClassW(&windowClass);
    }
    return CreateWindowExW(0, L"VistelloInputTarget", L"", WS_POPUP | WS_VISIBLE, x, y, 50, 50, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

class TestHostHandler : public HostHandler {
public:
    void GetSnapshotArea(RectF&, bool&) override { }
    void OnSnapshotShown() override { }
    void OnHostClosed() override { }
    HWND GetFocusWindow() override { return nullptr; }
    bool ResolveNodeUrl(int, const UrlParts&, int32_t& taken, IStream*& data, uint32_t& length, int& answer) override
    {
        taken = handled;
        if (stream) {
            stream->AddRef();
            data = stream;
            length = size;
        }
        answer = code;
        return resolves;
    }
    HWND GetMouseTarget() override { return mouseTarget; }
    HWND GetKeyTarget() override { return keyTarget; }
    int32_t TranslateKey(UINT, WPARAM wParam, LPARAM, int32_t& keyState) override
    {
        keyState = int32_t(wParam);
        return command;
    }
    bool SendCommand(int32_t sent) override
    {
        commands.push_back(sent);
        return true;
    }
    std::vector<int32_t> commands;

    HWND mouseTarget = nullptr;
    HWND keyTarget = nullptr;
    int32_t command = -1;
    // The answer to resource requests.
    bool resolves = false;
    int32_t handled = 0;
    IStream* stream = nullptr;
    uint32_t size = 0;
    int code = 2;
};

// A sink answering INodeInputEvents.
class InputSink : public TestSinkWith<INodeInputEvents, IID_INodeInputEvents> {
public:
    HRESULT STDMETHODCALLTYPE OnCommand(int32_t command, int32_t, int32_t* handled) override
    {
        commands.push_back(command);
        *handled = command == handledCommand;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnVisibilityChanged(VARIANT_BOOL visible) override
    {
        visibility.push_back(visible != VARIANT_FALSE);
        return S_OK;
    }

    int32_t handledCommand = -1;
    std::vector<int32_t> commands;
    std::vector<bool> visibility;
};

int CursorCount()
{
    int count = ShowCursor(FALSE);
    ShowCursor(TRUE);
    return count + 1;
}

// A visible host with one GDI window node of blue background filling it.
class ActiveXNodeTest : public ::testing::Test {
protected:
    ActiveXNodeTest()
        : registration(StandInControl::Flash10)
        , host(240, 160, 240, 160)
    {
        SetWindowPos(host.window.Get(), HWND_TOP, 0, 0, 240, 160, SWP_SHOWWINDOW);
        layer = host->CreateLayer(0, 0, 240, 160, true, false);
        pane = AddTo(layer, new WindowedNode(0, 0, 0), 0, 0, 240, 160);
        pane->SetBackgroundColor(0, 0, 255, 255);
    }

    std::wstring Movie(const char* name, const char* frameColour)
    {
        std::wstring path = folder.File(std::wstring(name, name + strlen(name)).c_str());
        EXPECT_TRUE(WriteTextFile(path, std::string("standin-movie 1\nframe ") + frameColour + "\n"));
        return path;
    }

    TestFlashNode* AddFlash(int kind, const wchar_t* wmode, const std::wstring& movie, float x, float y)
    {
        auto* node = AddTo(pane, new TestFlashNode(kind), x, y, 80, 60);
        node->SetProperty(MKString(L"wmode"), MKString(wmode));
        node->SetProperty(MKString(L"movie"), MKString(movie.c_str()));
        return node;
    }

    void Start()
    {
        ASSERT_TRUE(layer->Start(true));
        host->RequestRepaint();
        Pump(300);
    }

    // The stand-in's lines without those whose number depends on repaints.
    std::vector<std::wstring> Lines() const { return log.Lines({L"IViewObject.Draw", L"IDispatch.Invoke"}); }

    ComScope com;
    ControlRegistration registration;
    ControlLogFile log;
    ScratchFolder folder;
    TestHostHandler m_handler;  // outlives the host it may be attached to
    TestHost host;
    LayerNode* layer = nullptr;
    WindowedNode* pane = nullptr;
};

TEST_F(ActiveXNodeTest, WindowlessAndWindowedControlsShareOneWindow)
{
    TestFlashNode* windowless
        = AddFlash(ActiveXNode::WindowlessKind, L"transparent", Movie("half.swf", "80FF0000"), 20, 20);
    TestFlashNode* windowed = AddFlash(ActiveXNode::WindowedKind, L"window", Movie("green.swf", "FF00FF00"), 130, 30);
    windowed->SetInputFlags(ActiveXNode::KeepMouse);
    Start();
    ASSERT_TRUE(windowless->IsControlActive());
    ASSERT_TRUE(windowed->IsControlActive());
    EXPECT_TRUE(log.Contains(L"flash host in place windowless at 20,20,100,80"));
    EXPECT_TRUE(log.Contains(L"flash host in place windowed at 0,0,80,60"));
    EXPECT_EQ(nullptr, windowless->GetControlWindow());
    HWND control = windowed->GetControlWindow();
    ASSERT_NE(nullptr, control);
    EXPECT_EQ(windowed->GetHostWindow()->GetHwnd(), GetParent(control));
    EXPECT_EQ(pane->GetNodeWindowHandle(), GetParent(GetParent(control)));

    int width = 0, height = 0;
    std::vector<DWORD> pixels = CapturePane(host.window.Get(), L"activex", width, height, true);
    ASSERT_EQ(240, width);
    auto at = [&](int x, int y) { return pixels[y * width + x] & 0xFFFFFF; };
    EXPECT_TRUE(Near(at(60, 50), 0x80007F));  // half red over the blue background
    EXPECT_TRUE(Near(at(21, 21), 0x80007F));
    EXPECT_TRUE(Near(at(19, 19), 0x0000FF));
    EXPECT_TRUE(Near(at(101, 81), 0x0000FF));
    EXPECT_TRUE(Near(at(170, 60), 0x00FF00));  // the windowed control's own window
    EXPECT_TRUE(Near(at(5, 150), 0x0000FF));

    // A real click over the windowed control reaches it in its own client
    // coordinates.
    POINT point = {15, 25};
    ClientToScreen(control, &point);
    SetCursorPos(point.x, point.y);
    INPUT clicks[2] = {};
    clicks[0].type = clicks[1].type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, clicks, sizeof(INPUT));
    EXPECT_TRUE(PumpUntil([&] { return log.Contains(L"flash window WM_LBUTTONDOWN(15,25)"); }));
}

TEST_F(ActiveXNodeTest, SetsUpAndTearsDownInTheControlsOrder)
{
    TestFlashNode* node = AddFlash(ActiveXNode::WindowedKind, L"window", Movie("green.swf", "FF00FF00"), 130, 30);
    Start();
    ASSERT_TRUE(node->IsControlActive());
    ASSERT_TRUE(layer->RemoveChild(pane));
    std::vector<std::wstring> lines = Lines();
    ReplaceQuoted(lines, folder.File(L"green.swf"), L"X");
    const std::vector<std::wstring> golden = {
        L"flash IOleObject.SetClientSite(site)",
        L"flash host ambient UserMode=True UIDead=False BackColor=0 Appearance=0",
        L"flash IOleObject.Advise(sink)",
        L"flash IViewObject.SetAdvise(1, 2, sink)",
        L"flash "
        L"IConnectionPointContainer.FindConnectionPoint({9BFBBC02-EFF1-101A-84ED-"
        L"00AA00341D07}) = 0x00000000",
        L"flash IConnectionPoint.Advise(IPropertyNotifySink) = 1",
        L"flash IPersistPropertyBag2.Load",
        L"flash property _ExtentX=\"80\" as VT_I4",
        L"flash property _ExtentY=\"60\" as VT_I4",
        L"flash property wmode=\"window\"",
        L"flash property movie=\"X\"",
        L"flash host QueryService(SID_IBindHost) = 0x80004002",
        L"flash IOleObject.SetExtent(1, 2117,1588)",
        L"flash IOleObject.DoVerb(-5)",
        L"flash host in place windowed at 0,0,80,60",
        L"flash IOleInPlaceObject.InPlaceDeactivate",
        L"flash IOleObject.Unadvise(1)",
        L"flash IViewObject.SetAdvise(1, 0, null)",
        L"flash IConnectionPoint.Unadvise(IPropertyNotifySink, 1)",
        L"flash IOleObject.Close(1)",
        L"flash IOleObject.SetClientSite(null)",
        L"flash released",
    };
    std::vector<std::wstring> wanted;
    for (const std::wstring& line : lines) {
        if (line.find(L"movie loaded") == std::wstring::npos && line.find(L"fire ") == std::wstring::npos)
            wanted.push_back(line);
    }
    EXPECT_EQ(golden, wanted);
}

TEST_F(ActiveXNodeTest, RoutesInputByItsFlags)
{
    TestFlashNode* node = AddFlash(ActiveXNode::WindowedKind, L"window", Movie("green.swf", "FF00FF00"), 130, 30);
    InputSink* sink = new InputSink();
    node->SetEventSink(static_cast<INodeEventSink*>(sink));
    sink->Release();
    TestHostHandler& handler = m_handler;
    HWND mouseTarget = RecordingWindow(300, 200), keyTarget = RecordingWindow(400, 200);
    handler.mouseTarget = mouseTarget;
    handler.keyTarget = keyTarget;
    host->SetHostHandler(&handler);
    Start();
    HWND control = node->GetControlWindow();
    ASSERT_NE(nullptr, control);
    POINT screen = {5, 6};
    ClientToScreen(control, &screen);
    POINT converted = screen;
    ScreenToClient(mouseTarget, &converted);
    const LPARAM clientPoint = MAKELPARAM(5, 6), screenPoint = MAKELPARAM(screen.x, screen.y);

    struct Case {
        uint32_t flags;
        int32_t command;
        UINT message;
        LPARAM lParam;
        HWND target;  // null: the control sees it
        LPARAM targetLParam;
        const wchar_t* controlLine;
    };
    const Case cases[] = {
        {0, -1, WM_LBUTTONDOWN, clientPoint, mouseTarget, MAKELPARAM(converted.x, converted.y), nullptr},
        {0, -1, WM_NCHITTEST, screenPoint, mouseTarget, screenPoint, nullptr},
        {0, -1, WM_MOUSEWHEEL, screenPoint, mouseTarget, screenPoint, nullptr},
        {1, -1, WM_LBUTTONDOWN, clientPoint, nullptr, 0, L"flash window WM_LBUTTONDOWN(5,6)"},
        {1, -1, WM_RBUTTONDOWN, clientPoint, mouseTarget, MAKELPARAM(converted.x, converted.y), nullptr},
        {9, -1, WM_RBUTTONDOWN, clientPoint, nullptr, 0, L"flash window WM_RBUTTONDOWN(5,6)"},
        {0, -1, WM_KEYDOWN, 0, keyTarget, 0, nullptr},
        {4, -1, WM_KEYDOWN, 0, nullptr, 0, L"flash window WM_KEYDOWN(0x00000041)"},
        {4, ActiveXNode::kSwallowedCommand, WM_KEYDOWN, 0, nullptr, 0, nullptr},
        {12, ActiveXNode::kSwallowedCommand, WM_KEYDOWN, 0, nullptr, 0, L"flash window WM_KEYDOWN(0x00000041)"},
        {12, 7, WM_KEYDOWN, 0, nullptr, 0, nullptr},  // the sink handles command 7
    };
    sink->handledCommand = 7;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "flags " << c.flags << " message 0x" << std::hex << c.message);
        node->SetInputFlags(c.flags);
        handler.command = c.command;
        log.Clear();
        s_received.clear();
        SendMessageW(control, c.message, c.message == WM_KEYDOWN ? 'A' : 0, c.lParam);
        Pump(30);
        std::vector<std::wstring> seen;
        for (const std::wstring& line : log.Lines()) {
            if (line.find(L"flash window ") == 0)
                seen.push_back(line);
        }
        EXPECT_EQ(c.controlLine ? std::vector<std::wstring>{c.controlLine} : std::vector<std::wstring>{}, seen);
        // A translated key also brings its character: the first is the one.
        if (c.target && !s_received.empty()) {
            EXPECT_TRUE(s_received.size() == 1 || c.message == WM_KEYDOWN);
            EXPECT_EQ(c.target, s_received[0].window);
            EXPECT_EQ(c.message, s_received[0].message);
            EXPECT_EQ(c.targetLParam, s_received[0].lParam);
            if (c.message == WM_KEYDOWN) {
                EXPECT_EQ(keyTarget, GetFocus());
            }
        } else {
            EXPECT_EQ(c.target == nullptr, s_received.empty());
        }
    }
    EXPECT_EQ((std::vector<int32_t>{432, 432, 7}), sink->commands);

    DestroyWindow(mouseTarget);
    DestroyWindow(keyTarget);
}

TEST_F(ActiveXNodeTest, SwitchesTheCursorOverTheShownControl)
{
    TestFlashNode* node = AddFlash(ActiveXNode::WindowedKind, L"window", Movie("green.swf", "FF00FF00"), 130, 30);
    node->SetInputFlags(ActiveXNode::KeepMouse);
    Start();
    HWND control = node->GetControlWindow();
    ASSERT_NE(nullptr, control);
    POINT point = {10, 10};
    ClientToScreen(control, &point);
    SetCursorPos(point.x, point.y);
    SendMessageW(control, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    ASSERT_TRUE(node->IsMouseTracked());
    NodeHost::EnsureCursorShown();

    struct Step {
        int mode;
        UINT message;  // sent after the mode is set (0: none)
        bool hidden;
    };
    const Step steps[] = {
        {ActiveXNode::CursorHidden, 0, true},
        {ActiveXNode::CursorHidden, WM_MOUSELEAVE, false},
        {ActiveXNode::CursorHidden, WM_MOUSEMOVE, true},
        {ActiveXNode::CursorShown, 0, false},
        {ActiveXNode::CursorLeftAlone, 0, false},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(testing::Message() << "mode " << step.mode << " message 0x" << std::hex << step.message);
        node->SetCursorMode(step.mode);
        if (step.message)
            SendMessageW(control, step.message, 0, MAKELPARAM(10, 10));
        EXPECT_EQ(step.hidden, CursorCount() < 0);
    }
    node->SetCursorMode(ActiveXNode::CursorHidden);
    EXPECT_LT(CursorCount(), 0);
    // Hidden nodes leave the cursor alone from then on.
    pane->SetVisible(false);
    host->RequestRepaint();
    Pump(50);
    EXPECT_EQ(ActiveXNode::CursorLeftAlone, node->GetCursorMode());
    NodeHost::EnsureCursorShown();
}

TEST_F(ActiveXNodeTest, CreationFailuresLeaveNoControl)
{
    TestFlashNode* node = AddFlash(ActiveXNode::WindowlessKind, L"transparent", Movie("half.swf", "80FF0000"), 20, 20);
    EXPECT_EQ(S_OK, node->DestroyControl());
    node->connectEvents = false;
    EXPECT_EQ(E_FAIL, node->CreateControl());
    EXPECT_FALSE(node->HasControl());
    EXPECT_TRUE(log.Contains(L"flash IOleObject.SetClientSite(null)"));
    node->connectEvents = true;
    ASSERT_EQ(S_OK, node->CreateControl());
    EXPECT_EQ(S_OK, node->CreateControl());
    EXPECT_EQ(nullptr, node->CaptureImage());  // not in place yet

    node->SetInputFlags(0x10);
    EXPECT_EQ(0x14u, node->GetInputFlags());
    MKString text;
    node->SetProperty(MKString(L"quality"), 2);
    EXPECT_TRUE(node->GetProperty(MKString(L"Quality"), text));
    EXPECT_STREQ(L"2", text.GetText());
    EXPECT_TRUE(node->RemoveProperty(MKString(L"quality")));
    EXPECT_FALSE(node->GetProperty(MKString(L"quality"), text));
}

TEST_F(ActiveXNodeTest, LoadsPropertiesOnceAndCapturesTheControlsPicture)
{
    TestFlashNode* node = AddFlash(ActiveXNode::WindowlessKind, L"transparent", Movie("half.swf", "80FF0000"), 20, 20);
    ASSERT_EQ(S_OK, node->CreateControl());
    ASSERT_EQ(S_OK, node->LoadProperties(80, 60));
    Start();
    ASSERT_TRUE(node->IsControlActive());
    int loads = 0;
    for (const std::wstring& line : log.Lines())
        loads += line.find(L"PropertyBag2.Load") != std::wstring::npos;
    EXPECT_EQ(1, loads);

    std::unique_ptr<RasterImage> image(node->CaptureImage());
    ASSERT_NE(nullptr, image);
    EXPECT_EQ(80, image->GetWidth());
    EXPECT_EQ(60, image->GetHeight());
}

TEST_F(ActiveXNodeTest, ResolvesNamesBelowTheVirtualRoot)
{
    TestFlashNode* windowless
        = AddFlash(ActiveXNode::WindowlessKind, L"transparent", Movie("half.swf", "80FF0000"), 20, 20);
    auto* native = AddTo(pane, new TestFlashNode(ActiveXNode::NativeWindowKind), 130, 30, 80, 60);
    const MKString background(L"C:\\Vistello.9EA84E08259647B1995FC2CEB15B7423\\bgimg\\0.bin");
    const MKString resource(L"C:\\Vistello.9EA84E08259647B1995FC2CEB15B7423\\pack\\resources\\a.png");
    int handled = -1;
    IStream* stream = reinterpret_cast<IStream*>(1);
    uint32_t size = 7;
    EXPECT_EQ(UrlResolver::kNotHandled, windowless->ResolveUrl(1, background, &handled, &stream, &size));
    EXPECT_EQ(0, handled);
    EXPECT_EQ(nullptr, stream);
    EXPECT_EQ(0u, size);
    // Nothing captured behind the native window yet: later.
    EXPECT_EQ(UrlResolver::kPending, native->ResolveUrl(1, background, &handled, &stream, &size));
    EXPECT_EQ(1, handled);

    // Other names go to the host handler; data comes only with a stream.
    host->SetHostHandler(&m_handler);
    m_handler.resolves = true;
    m_handler.code = UrlResolver::kReady;
    m_handler.handled = 2;
    EXPECT_EQ(UrlResolver::kNotHandled, windowless->ResolveUrl(1, resource, &handled, &stream, &size));
    EXPECT_EQ(2, handled);
    IStream* data = SHCreateMemStream(reinterpret_cast<const BYTE*>("data"), 4);
    m_handler.stream = data;
    m_handler.size = 4;
    EXPECT_EQ(UrlResolver::kReady, windowless->ResolveUrl(1, resource, &handled, &stream, &size));
    EXPECT_EQ(data, stream);
    EXPECT_EQ(4u, size);
    stream->Release();
    // A handler that declines leaves the node's answer to what it set.
    m_handler.resolves = false;
    m_handler.stream = nullptr;
    EXPECT_EQ(UrlResolver::kNotHandled, windowless->ResolveUrl(1, resource, &handled, &stream, &size));
    data->Release();
}

// A layer's owner alone answers for the controls on it: the host handler is
// not asked, also when the owner declines.
TEST_F(ActiveXNodeTest, ALayersOwnerAloneResolvesItsControlsNames)
{
    struct Owner : LayerOwner {
        bool HandleResourceRequest(int, const UrlParts&, int32_t& taken, IStream*& data, uint32_t& length,
                                   int& answer) override
        {
            ++asked;
            if (!stream)
                return false;
            taken = 2;
            stream->AddRef();
            data = stream;
            length = 5;
            answer = 0;
            return false;
        }
        IStream* stream = nullptr;
        int asked = 0;
    } owner;
    TestFlashNode* windowless
        = AddFlash(ActiveXNode::WindowlessKind, L"transparent", Movie("half.swf", "80FF0000"), 20, 20);
    const MKString resource(L"C:\\Vistello.9EA84E08259647B1995FC2CEB15B7423\\pack\\resources\\a.png");
    IStream* hostData = SHCreateMemStream(reinterpret_cast<const BYTE*>("host"), 4);
    host->SetHostHandler(&m_handler);
    m_handler.resolves = true;
    m_handler.code = UrlResolver::kReady;
    m_handler.handled = 1;
    m_handler.stream = hostData;
    m_handler.size = 4;
    LayerNode* layer = windowless->GetLayer();
    ASSERT_NE(nullptr, layer);
    layer->SetOwner(&owner);
    int handled = -1;
    IStream* stream = nullptr;
    uint32_t size = 0;
    // Declined: nothing served, though the host handler has a stream ready.
    EXPECT_EQ(UrlResolver::kNotHandled, windowless->ResolveUrl(1, resource, &handled, &stream, &size));
    EXPECT_EQ(1, owner.asked);
    EXPECT_EQ(0, handled);
    EXPECT_EQ(nullptr, stream);
    // Served by the owner.
    IStream* ownerData = SHCreateMemStream(reinterpret_cast<const BYTE*>("owner"), 5);
    owner.stream = ownerData;
    EXPECT_EQ(UrlResolver::kReady, windowless->ResolveUrl(1, resource, &handled, &stream, &size));
    EXPECT_EQ(2, owner.asked);
    EXPECT_EQ(2, handled);
    EXPECT_EQ(ownerData, stream);
    EXPECT_EQ(5u, size);
    if (stream)
        stream->Release();
    // Without an owner the host handler answers again.
    layer->SetOwner(nullptr);
    EXPECT_EQ(UrlResolver::kReady, windowless->ResolveUrl(1, resource, &handled, &stream, &size));
    EXPECT_EQ(hostData, stream);
    if (stream)
        stream->Release();
    m_handler.stream = nullptr;
    ownerData->Release();
    hostData->Release();
}

}  // namespace
