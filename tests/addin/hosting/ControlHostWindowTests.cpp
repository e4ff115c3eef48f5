#include "SceneTestSupport.h"
#include "addin/hosting/ControlHostWindow.h"
#include "addin/hosting/ControlWindowOwner.h"
#include "addin/hosting/DibSurface.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class RecordingOwner : public ControlWindowOwner {
public:
    void AttachControlWindow(HWND control) override { attached.push_back(control); }
    std::vector<HWND> attached;
};

TEST(ControlHostWindow, HandsTheControlWindowToItsOwnerAndNeverErases)
{
    HostWindow parent(100, 100);
    RecordingOwner owner;
    ControlHostWindow window(nullptr, &owner);
    ASSERT_TRUE(window.Create(parent.Get(), 10, 10, 40, 30, true, 3));
    EXPECT_EQ(window.GetFlag(), 3);
    EXPECT_TRUE(window.HasStyle(WS_CHILD));
    wchar_t name[64] = {};
    GetClassNameW(window.GetHwnd(), name, 64);
    EXPECT_STREQ(name, L"VistelloAxHostWindow");

    HWND control = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 40, 30, window.GetHwnd(), nullptr, nullptr,
                                   nullptr);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(owner.attached, (std::vector<HWND>{control}));
    HDC dc = GetDC(window.GetHwnd());
    EXPECT_EQ(SendMessageW(window.GetHwnd(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 1);
    ReleaseDC(window.GetHwnd(), dc);
    window.Destroy();
}

TEST(ControlHostWindow, CapturesWhatLiesBehindItOpaque)
{
    // A parent that paints itself in one colour.
    WNDCLASSW parentClass = {};
    parentClass.lpfnWndProc = DefWindowProcW;
    parentClass.hInstance = GetModuleHandleW(nullptr);
    parentClass.hbrBackground = CreateSolidBrush(RGB(12, 34, 56));
    parentClass.lpszClassName = L"ControlHostTestParent";
    RegisterClassW(&parentClass);
    HWND parent = CreateWindowExW(0, L"ControlHostTestParent", L"", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr,
                                  nullptr, parentClass.hInstance, nullptr);
    ASSERT_NE(parent, nullptr);
    RecordingOwner owner;
    ControlHostWindow window(nullptr, &owner);
    window.SetOffScreen(true);
    ASSERT_TRUE(window.Create(parent, 10, 10, 40, 30, false, 0));

    ASSERT_TRUE(window.CaptureBackground());
    DibSurface* background = window.GetBackground();
    ASSERT_NE(background, nullptr);
    EXPECT_EQ(background->GetWidth(), 40);
    EXPECT_EQ(background->GetHeight(), 30);
    uint8_t r, g, b, a;
    ASSERT_TRUE(background->GetPixel(20, 15, &r, &g, &b, &a));
    EXPECT_EQ((std::vector<int>{r, g, b, a}), (std::vector<int>{12, 34, 56, 255}));
    window.Destroy();
    EXPECT_EQ(window.GetBackground(), nullptr);
    DestroyWindow(parent);
    UnregisterClassW(L"ControlHostTestParent", parentClass.hInstance);
    DeleteObject(parentClass.hbrBackground);
}

}  // namespace
