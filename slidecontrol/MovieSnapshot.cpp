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
            m_window = CreateWindowExA(WS_EX_TOOLWINDOW, kSnapshotWindowClass, nullptr, WS_POPUP, 0, 0, width, height,
                                       nullptr, nullptr, PlovapointModule::Instance(), nullptr);
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

// Reads the back buffer as bottom-up BGRA rows.
bool ReadPixels(int width, int height, uint8_t* pixels)
{
    gGL.glFinish();
    gGL.glReadBuffer(GL_BACK);
    gGL.glPixelStorei(GL_PACK_ALIGNMENT, 1);
    gGL.glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    if (gGL.glGetError() != GL_NO_ERROR)
        return false;
    for (size_t i = 0, n = size_t(width) * size_t(height); i < n; ++i) {
        uint8_t* p = pixels + i * 4;
        uint8_t red = p[0];
        p[0] = p[2];
        p[2] = red;
    }
    return true;
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
    main->Seek(frame < 0 ? 0 : frame > last ? (last < 0 ? 0 : last) : frame);

    HiddenGLWindow window(width, height);
    PVGLDraw* drawer = window.MakeDrawer(player);
    if (!drawer)
        return false;
    uint8_t* pixels = new (std::nothrow) uint8_t[size_t(width) * size_t(height) * 4];
    if (!pixels)
        return false;
    HDC dc = GetDC(window.Window());
    bool drawn = drawer->View()->MakeCurrent(dc);
    if (drawn) {
        drawn = drawer->RenderFrame(-1, -1, true) && ReadPixels(width, height, pixels);
        drawer->View()->Done();
    }
    ReleaseDC(window.Window(), dc);
    if (drawn) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = height;  // bottom-up, as GL reads
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        drawn = StretchDIBits(target, 0, 0, width, height, 0, 0, width, height, pixels, &info, DIB_RGB_COLORS,
                              SRCCOPY) != 0;
    }
    delete[] pixels;
    return drawn;
}
