#include "player/app/CPVLabel.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

TEST(Label, LinkStyleColourAndUnderline)
{
    HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 60, nullptr, nullptr, nullptr,
                                  nullptr);
    HWND text = CreateWindowExA(0, "STATIC", "www.example.com", WS_CHILD | WS_VISIBLE, 5, 5, 150, 20, parent, nullptr,
                                nullptr, nullptr);
    {
        CPVLabel label;
        ASSERT_TRUE(label.Attach(text));
        label.SetLink(true, "");
        EXPECT_TRUE(GetWindowLongPtrA(text, GWL_STYLE) & SS_NOTIFY);
        EXPECT_EQ(RGB(0, 0, 255), label.TextColour());

        HDC dc = GetDC(text);
        HBRUSH brush = label.OnCtlColor(dc);
        EXPECT_NE(nullptr, brush);
        EXPECT_EQ(RGB(0, 0, 255), GetTextColor(dc));
        EXPECT_EQ(TRANSPARENT, GetBkMode(dc));
        LOGFONTA font = {};
        GetObjectA(GetCurrentObject(dc, OBJ_FONT), sizeof font, &font);
        EXPECT_TRUE(font.lfUnderline);
        ReleaseDC(text, dc);

        // Entering paints in the hover colour and captures; leaving gives both back.
        SendMessageA(text, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
        EXPECT_EQ(RGB(255, 0, 0), label.TextColour());
        EXPECT_EQ(text, GetCapture());
        SendMessageA(text, WM_MOUSEMOVE, 0, MAKELPARAM(500, 10));
        EXPECT_EQ(RGB(0, 0, 255), label.TextColour());
        EXPECT_NE(text, GetCapture());

        label.SetLink(false, nullptr);
        EXPECT_FALSE(GetWindowLongPtrA(text, GWL_STYLE) & SS_NOTIFY);
        EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), label.TextColour());
        dc = GetDC(text);
        label.OnCtlColor(dc);
        GetObjectA(GetCurrentObject(dc, OBJ_FONT), sizeof font, &font);
        EXPECT_FALSE(font.lfUnderline);
        ReleaseDC(text, dc);
    }
    DestroyWindow(parent);
}

}  // namespace
