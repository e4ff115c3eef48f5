#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include "GLHarness.h"
#include "player/engine/GLTable.h"
#include "player/engine/WGLView.h"

namespace {

// A shown window for a view of its own.
struct TestWindow {
    TestWindow()
    {
        window = CreateWindowExW(0, L"STATIC", L"view", WS_POPUP | WS_VISIBLE, 0, 0, 64, 48, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    }
    ~TestWindow() { DestroyWindow(window); }
    HWND window;
};

TEST(WGLView, CreatesADoubleBufferedContextWithStencil)
{
    TestWindow w;
    WGLView view(w.window);
    ASSERT_EQ(view.Create(16, true), 0);
    const PIXELFORMATDESCRIPTOR& format = view.PixelFormat();
    EXPECT_TRUE(format.dwFlags & PFD_DOUBLEBUFFER);
    EXPECT_TRUE(format.dwFlags & PFD_SUPPORT_OPENGL);
    EXPECT_GE(format.cStencilBits, 8);
    EXPECT_GE(format.cDepthBits, 16);
    HDC dc = GetDC(w.window);
    ASSERT_TRUE(view.MakeCurrent(dc));
    const char* extensions = reinterpret_cast<const char*>(gGL.glGetString(GL_EXTENSIONS));
    ASSERT_NE(extensions, nullptr);
    // The library's own answer decides the clamp mode; Wine has no swap hint.
    const bool edgeClamp = std::strstr(extensions, "GL_EXT_texture_edge_clamp") != nullptr;
    EXPECT_EQ(gGL.edgeClampMode, edgeClamp ? GL_CLAMP_TO_EDGE : GL_CLAMP);
    EXPECT_EQ(gGL.addSwapHintRect, nullptr);
    std::printf("edge-clamp extension %s\n", edgeClamp ? "present" : "missing");
    EXPECT_EQ(gGL.glGetError(), GLenum(GL_NO_ERROR));
    view.Done();
    ReleaseDC(w.window, dc);
    // A second Create replaces the context and keeps the pixel format.
    EXPECT_EQ(view.Create(16, true), 0);
    ASSERT_TRUE(view.MakeCurrent(GetDC(w.window)));
    view.Done();
}

TEST(WGLView, MakeCurrentNeedsAContext)
{
    TestWindow w;
    WGLView view(w.window);
    HDC dc = GetDC(w.window);
    EXPECT_FALSE(view.MakeCurrent(dc));
    ReleaseDC(w.window, dc);
}

// The table is shared by the views that loaded it and cleared by the last.
TEST(GLTable, IsCountedAndClearedByTheLastUse)
{
    ASSERT_EQ(gGL.glClear, nullptr) << "no view may be left from another test";
    {
        TestWindow a, b;
        WGLView first(a.window), second(b.window);
        ASSERT_EQ(first.Create(16, true), 0);
        ASSERT_EQ(second.Create(0, false), 0);
        EXPECT_NE(gGL.glClear, nullptr);
    }
    EXPECT_EQ(gGL.glClear, nullptr);
    EXPECT_EQ(gGL.edgeClampMode, GL_CLAMP);
}

TEST(GLTable, MissingLibraryOrEntryPointFailsTheLoad)
{
    ASSERT_EQ(gGL.glClear, nullptr);
    EXPECT_EQ(LoadGLTable("no-such-library.dll"), 1);
    // A library without the GL entry points: the table stays empty.
    EXPECT_EQ(LoadGLTable("kernel32.dll"), 2);
    EXPECT_EQ(gGL.glClear, nullptr);
    EXPECT_EQ(gGL.glGetError, nullptr);
    // The real library loads after that.
    EXPECT_EQ(LoadGLTable(), 0);
    EXPECT_NE(gGL.glPrioritizeTextures, nullptr);
    ReleaseGLTable();
    EXPECT_EQ(gGL.glClear, nullptr);
}

TEST(GLTable, ExtensionsAreFoundBySubstring)
{
    ApplyGLExtensions("GL_ARB_a GL_EXT_texture_edge_clamp_more GL_B");
    EXPECT_EQ(gGL.edgeClampMode, GL_CLAMP_TO_EDGE);
    ApplyGLExtensions("GL_SGIS_texture_edge_clamp");
    EXPECT_EQ(gGL.edgeClampMode, GL_CLAMP);
    ApplyGLExtensions(nullptr);
    EXPECT_EQ(gGL.edgeClampMode, GL_CLAMP);
    EXPECT_EQ(gGL.addSwapHintRect, nullptr);
}

}  // namespace
