// Node windows: placement of popups and off-screen windows, detaching on
// destruction, the anti-blink snapshot and the window classes' lifetime.
#include "SceneTestSupport.h"
#include "addin/hosting/AntiBlinkWindow.h"
#include "addin/hosting/ControlHostWindow.h"
#include "addin/hosting/DibSurface.h"
#include "addin/hosting/HostingModule.h"
#include "addin/hosting/LayerNode.h"
#include "addin/hosting/NodeHost.h"
#include "addin/hosting/NodeWindow.h"
#include "addin/hosting/WindowClassRecord.h"

#include <gtest/gtest.h>

namespace {

struct TestClass {
    TestClass() : record(L"VistelloTestNodeWindow")
    {
        record.SetModule(GetModuleHandleW(nullptr));
        EXPECT_TRUE(record.Register());
    }
    ~TestClass() { record.Release(); }
    WindowClassRecord record;
};

TEST(NodeWindow, APopupIsPlacedAtTheScreenPointOfItsParentClientPoint)
{
    TestClass windowClass;
    HostWindow parent(200, 200);
    SetWindowPos(parent.Get(), nullptr, 30, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    NodeWindow popup;
    ASSERT_TRUE(popup.Create(parent.Get(), parent.Get(), &windowClass.record, 10, 20, 50, 60, NodeWindow::Popup,
                             false, nullptr));
    EXPECT_TRUE(popup.IsPopup());
    RECT rect;
    GetWindowRect(popup.GetHwnd(), &rect);
    POINT client = {10, 20};
    ClientToScreen(parent.Get(), &client);
    EXPECT_EQ(rect.left, client.x);
    EXPECT_EQ(rect.top, client.y);
    EXPECT_EQ(rect.right - rect.left, 50);
    ASSERT_TRUE(popup.GetPlacement(rect));
    EXPECT_EQ((std::vector<LONG>{rect.left, rect.top, rect.right, rect.bottom}), (std::vector<LONG>{10, 20, 60, 80}));
    // A second Create is refused.
    EXPECT_FALSE(popup.Create(parent.Get(), parent.Get(), &windowClass.record, 0, 0, 5, 5, 1, false, nullptr));
    popup.Destroy();
}

TEST(NodeWindow, AHiddenOffScreenWindowShrinksToOnePixelAtItsPlace)
{
    TestClass windowClass;
    HostWindow parent(200, 200);
    NodeWindow window;
    window.SetOffScreen(true);
    ASSERT_TRUE(window.Create(parent.Get(), parent.Get(), &windowClass.record, 10, 20, 50, 60, NodeWindow::Child,
                              false, nullptr));
    EXPECT_TRUE(IsWindowVisible(window.GetHwnd()) || (GetWindowLongW(window.GetHwnd(), GWL_STYLE) & WS_VISIBLE));
    auto size = [&] {
        RECT rect;
        GetWindowRect(window.GetHwnd(), &rect);
        MapWindowPoints(nullptr, parent.Get(), reinterpret_cast<POINT*>(&rect), 2);
        return std::vector<LONG>{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
    };
    EXPECT_EQ(size(), (std::vector<LONG>{0, 0, 1, 1}));
    window.Show(true);
    EXPECT_EQ(size(), (std::vector<LONG>{10, 20, 50, 60}));
    window.Move(15, 25, 40, 30);
    EXPECT_EQ(size(), (std::vector<LONG>{15, 25, 40, 30}));
    window.Show(false);
    EXPECT_EQ(size(), (std::vector<LONG>{15, 25, 1, 1}));
    // Its placement and client area stay those it shows at.
    RECT rect;
    ASSERT_TRUE(window.GetClientArea(rect));
    EXPECT_EQ((std::vector<LONG>{rect.right, rect.bottom}), (std::vector<LONG>{40, 30}));
    window.Destroy();
}

// A window object that counts the messages it receives.
class CountingWindow : public NodeWindow {
public:
    LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override
    {
        ++messages;
        return NodeWindow::WindowProc(window, message, wParam, lParam);
    }
    int messages = 0;
};

TEST(NodeWindow, AWindowDestroyedByTheSystemLetsGoOfItsObject)
{
    TestClass windowClass;
    HostWindow parent(200, 200);
    CountingWindow window;
    ASSERT_TRUE(window.Create(parent.Get(), parent.Get(), &windowClass.record, 0, 0, 20, 20, NodeWindow::Child,
                              true, nullptr));
    HWND handle = window.GetHwnd();
    EXPECT_EQ(GetWindowLongPtrW(handle, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(&window));
    DestroyWindow(parent.Get());
    EXPECT_FALSE(window.IsCreated());
    EXPECT_EQ(window.GetHwnd(), nullptr);
    int seen = window.messages;
    SendMessageW(handle, WM_USER, 0, 0);  // gone: nothing reaches the object
    EXPECT_EQ(window.messages, seen);
}

TEST(AntiBlinkWindow, CoversTheAreaWithTheSourcePixelsAndRefusesAnotherSource)
{
    TestHost host(120, 100, 120, 100);
    SetWindowPos(host.window.Get(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    HWND host2 = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    AntiBlinkWindow snapshot(host.host);
    EXPECT_FALSE(snapshot.Show(host.window.Get(), 10, 10, 0, 20));  // empty
    ASSERT_TRUE(snapshot.Show(host.window.Get(), 10, 10, 30, 20));
    ASSERT_TRUE(snapshot.IsWindow());
    EXPECT_TRUE(snapshot.HasStyle(WS_POPUP));
    EXPECT_TRUE(GetWindowLongW(snapshot.GetHwnd(), GWL_EXSTYLE) & WS_EX_LAYERED);
    // The area grows by a pixel on each side.
    RECT rect = snapshot.GetRect();
    EXPECT_EQ((std::vector<LONG>{rect.left, rect.top, rect.right, rect.bottom}), (std::vector<LONG>{9, 9, 41, 31}));
    uint8_t r, g, b, a;
    ASSERT_TRUE(snapshot.GetSnapshot()->GetPixel(5, 5, &r, &g, &b, &a));
    EXPECT_EQ(a, 255);

    EXPECT_FALSE(snapshot.Show(host2, 0, 0, 10, 10));
    HWND first = snapshot.GetHwnd();
    ASSERT_TRUE(snapshot.Show(host.window.Get(), 50, 40, 30, 20));  // same source: moved
    EXPECT_EQ(snapshot.GetHwnd(), first);
    RECT placed;
    GetWindowRect(first, &placed);
    MapWindowPoints(nullptr, host.window.Get(), reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(placed.left, 49);
    EXPECT_EQ(placed.top, 39);
    snapshot.Hide();
    EXPECT_FALSE(snapshot.IsWindow());
    EXPECT_EQ(snapshot.GetSnapshot(), nullptr);
    ASSERT_TRUE(snapshot.Show(host2, 0, 0, 10, 10));  // free again
    snapshot.Hide();
    DestroyWindow(host2);
}

TEST(HostingModule, TermUnregistersTheWindowClasses)
{
    HINSTANCE module = GetModuleHandleW(nullptr);
    HostingModuleInit(module);
    {
        TestHost host(100, 100, 100, 100);
        LayerNode* layer = host->CreateLayer(0, 0, 100, 100, true, false);
        AddTo(layer, new WindowedNode(0, 0, 0), 0, 0, 50, 50);
        ASSERT_TRUE(layer->Start(true));
        host->ShowAntiBlink(0, 0, 20, 20);
        host->HideAntiBlink();
        ControlHostWindow control(nullptr, nullptr);
        ASSERT_TRUE(control.Create(host.window.Get(), 0, 0, 10, 10, false, 0));
        control.Destroy();
    }
    WNDCLASSW info;
    EXPECT_TRUE(GetClassInfoW(module, L"VistelloNodeWindow", &info));
    EXPECT_TRUE(GetClassInfoW(module, L"VistelloAntiBlinkWindow", &info));
    EXPECT_TRUE(GetClassInfoW(module, L"VistelloAxHostWindow", &info));
    HostingModuleTerm();
    EXPECT_FALSE(GetClassInfoW(module, L"VistelloNodeWindow", &info));
    EXPECT_FALSE(GetClassInfoW(module, L"VistelloAntiBlinkWindow", &info));
    EXPECT_FALSE(GetClassInfoW(module, L"VistelloAxHostWindow", &info));
    HostingModuleInit(module);
}

}  // namespace
