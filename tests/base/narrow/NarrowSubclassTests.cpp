#include "base/MKCSubclassWnd.h"

#include <gtest/gtest.h>

#include <string>
#include <windows.h>

namespace {

// Records the text of WM_SETTEXT as the hook receives it.
class TextHook : public MKCSubclassWnd {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_SETTEXT)
            seen = reinterpret_cast<const char*>(lParam);
        return MKCSubclassWnd::WindowProc(message, wParam, lParam);
    }
    std::string seen;
};

TEST(NarrowSubclass, HooksSeeEightBitTextAndTheWindowKeepsIt)
{
    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(window);
    WNDPROC own = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
    {
        TextHook first;
        TextHook second;
        ASSERT_TRUE(first.Attach(window));
        ASSERT_TRUE(second.Attach(window));
        EXPECT_FALSE(IsWindowUnicode(window));

        SetWindowTextA(window, "caf\xE9");
        EXPECT_EQ("caf\xE9", second.seen);
        EXPECT_EQ("caf\xE9", first.seen);
        char back[16] = {};
        GetWindowTextA(window, back, sizeof back);
        EXPECT_STREQ("caf\xE9", back);

        second.Detach();
        SetWindowTextA(window, "x");
        EXPECT_EQ("x", first.seen);
    }
    EXPECT_EQ(own, reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC)));
    DestroyWindow(window);
}

}  // namespace
