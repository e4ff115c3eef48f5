#pragma once
#include <windows.h>

// Binds OpenGL to one window: loads the GL table (GLTable.h), chooses a
// double-buffered RGBA pixel format, builds a palette where the format needs
// one, and makes the rendering context. The window must outlive the view.
// All calls come from the user-interface thread.
class WGLView {
public:
    static constexpr int kNoLibrary = -513;
    static constexpr int kNoPixelFormat = -514;
    static constexpr int kNoContext = -515;

    // Nothing is created until Create.
    explicit WGLView(HWND window) : window_(window) {}
    // Releases the context, the palette and the device context, then the
    // view's use of the GL table.
    virtual ~WGLView();
    WGLView(const WGLView&) = delete;
    WGLView& operator=(const WGLView&) = delete;

    // 0, or kNoLibrary, kNoPixelFormat, kNoContext. A second call replaces
    // the rendering context and keeps the pixel format. When the new
    // context cannot be made current, it answers 0 with no initial state set.
    int Create(int depthBits, bool stencil);
    // Makes the view's context current on `dc` (with the palette selected
    // into the view's own device context); false without a context.
    bool MakeCurrent(HDC dc);
    // Leaves no context current.
    void Done();

    HWND Window() const { return window_; }
    HDC DeviceContext();
    const PIXELFORMATDESCRIPTOR& PixelFormat() const { return format_; }

private:
    bool SetPixelFormat(int depthBits, bool stencil);
    bool BuildPalette();

    HWND window_;
    HDC dc_ = nullptr;
    HPALETTE palette_ = nullptr;
    int formatIndex_ = 0;
    PIXELFORMATDESCRIPTOR format_ = {};
    HGLRC context_ = nullptr;
    bool holdsTable_ = false;
};
