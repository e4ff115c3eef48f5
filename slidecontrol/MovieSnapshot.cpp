#include "slidecontrol/MovieSnapshot.h"

#include "player/engine/GLTable.h"
#include "player/engine/PVGLDraw.h"
#include "player/engine/PVInStream.h"
#include "player/engine/PVMovieClip.h"
#include "player/engine/PVMovieParser.h"
#include "player/engine/PVPlayer.h"
#include "player/engine/WGLView.h"
#include "slidecontrol/PlovapointModule.h"

#include <new>
#include <string.h>

namespace {

const char kSnapshotWindowClass[] = "PlovaPointSnapshotWindow";

class BytesStream : public PVInStream {
public:
    BytesStream(const uint8_t* bytes, int count) : m_bytes(bytes), m_count(count) {}
    // 0 at the end.
    int Read(void* buffer, int size) override
    {
        int n = size < m_count - m_position ? size : m_count - m_position;
        if (n <= 0)
            return 0;
        memcpy(buffer, m_bytes + m_position, size_t(n));
        m_position += n;
        return n;
    }
    int Close() override { return 0; }

private:
    const uint8_t* m_bytes;
    int m_count;
    int m_position = 0;
};

// The drawer's view and window, let go in order whatever happens.
class HiddenGLWindow {
public:
    HiddenGLWindow(int width, int height)
    {
        if (PlovapointModule::RegisterWindowClass(kSnapshotWindowClass, DefWindowProcA, CS_OWNDC))
            // Shown, for OpenGL draws only into a mapped window here, but far
            // outside every screen and never activated.
            m_window = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kSnapshotWindowClass, nullptr,
                                       WS_POPUP | WS_VISIBLE, -32000, -32000, width, height, nullptr, nullptr,
                                       PlovapointModule::Instance(), nullptr);
    }
    ~HiddenGLWindow()
    {
        if (m_drawer) {
            HDC dc = GetDC(m_window);
            if (m_drawer->View() && m_drawer->View()->MakeCurrent(dc)) {
                m_drawer->FreeTextures();
                m_drawer->View()->Done();
            }
            ReleaseDC(m_window, dc);
            delete m_drawer;  // deletes the view
        }
        if (m_window)
            DestroyWindow(m_window);
    }
    HiddenGLWindow(const HiddenGLWindow&) = delete;
    HiddenGLWindow& operator=(const HiddenGLWindow&) = delete;

    // The drawer over the player, or null.
    PVGLDraw* MakeDrawer(PVPlayer& player)
    {
        if (!m_window)
            return nullptr;
        WGLView* view = new (std::nothrow) WGLView(m_window);
        if (!view || view->Create(16, true) != 0) {
            delete view;
            return nullptr;
        }
        m_drawer = new (std::nothrow) PVGLDraw(&player, view);
        if (!m_drawer) {
            delete view;
            return nullptr;
        }
        return m_drawer->Init() ? m_drawer : nullptr;
    }
    HWND Window() const { return m_window; }

private:
    HWND m_window = nullptr;
    PVGLDraw* m_drawer = nullptr;
};

// Bytes of one row of a 24-bit DIB.
int RowStride(int width)
{
    return (width * 3 + 3) & ~3;
}

// Reads the back buffer into bottom-up 24-bit DIB rows (blue, green, red):
// metafiles play 24-bit pictures back everywhere, 32-bit ones not.
bool ReadPixels(int width, int height, uint8_t* rgba, uint8_t* rows)
{
    gGL.glFinish();
    gGL.glReadBuffer(GL_BACK);
    gGL.glPixelStorei(GL_PACK_ALIGNMENT, 1);
    gGL.glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    if (gGL.glGetError() != GL_NO_ERROR)
        return false;
    int stride = RowStride(width);
    for (int y = 0; y < height; ++y) {
        const uint8_t* from = rgba + size_t(y) * size_t(width) * 4;
        uint8_t* to = rows + size_t(y) * size_t(stride);
        for (int x = 0; x < width; ++x, from += 4, to += 3) {
            to[0] = from[2];
            to[1] = from[1];
            to[2] = from[0];
        }
    }
    return true;
}

// Copies the rows to (0, 0) of the target through a bitmap of their own: a
// metafile records the copy as a bitmap blit, which plays back everywhere.
bool CopyRows(const uint8_t* rows, int width, int height, HDC target)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // bottom-up, as GL reads
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = bitmap ? CreateCompatibleDC(nullptr) : nullptr;
    bool copied = false;
    if (memory) {
        memcpy(bits, rows, size_t(RowStride(width)) * size_t(height));
        HGDIOBJ old = SelectObject(memory, bitmap);
        copied = BitBlt(target, 0, 0, width, height, memory, 0, 0, SRCCOPY) != 0;
        SelectObject(memory, old);
        DeleteDC(memory);
    }
    if (bitmap)
        DeleteObject(bitmap);
    return copied;
}

}  // namespace

bool RenderMovieFrame(const uint8_t* bytes, int count, int frame, int width, int height, HDC target)
{
    if (!bytes || count <= 0 || width <= 0 || height <= 0 || !target)
        return false;
    PVPlayer player;
    if (!player.Init())
        return false;
    BytesStream stream(bytes, count);
    PVMovieParser parser;
    if (!parser.Load(stream, player) || !player.MainClip())
        return false;
    PVMovieClip* main = player.MainClip();
    int last = main->GetFrameCount() - 1;
    int shown = frame < 0 ? 0 : frame > last ? (last < 0 ? 0 : last) : frame;
    // Seek runs the frames before the one it is given: frame n shows after n + 1.
    main->Seek(shown + 1);

    HiddenGLWindow window(width, height);
    PVGLDraw* drawer = window.MakeDrawer(player);
    if (!drawer)
        return false;
    uint8_t* rgba = new (std::nothrow) uint8_t[size_t(width) * size_t(height) * 4];
    uint8_t* rows = new (std::nothrow) uint8_t[size_t(RowStride(width)) * size_t(height)];
    bool drawn = rgba && rows;
    HDC dc = GetDC(window.Window());
    drawn = drawn && drawer->View()->MakeCurrent(dc);
    if (drawn) {
        drawn = drawer->RenderFrame(-1, -1, true) && ReadPixels(width, height, rgba, rows);
        drawer->View()->Done();
    }
    ReleaseDC(window.Window(), dc);
    if (drawn)
        drawn = CopyRows(rows, width, height, target);
    delete[] rgba;
    delete[] rows;
    return drawn;
}
