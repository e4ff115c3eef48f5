#include "addin/hosting/DibSurface.h"
#include "addin/imaging/ImageFiles.h"
#include "base/MKSystemChecks.h"
#include "tests/fixtures/Fixtures.h"

#include <gtest/gtest.h>
#include <ole2.h>

namespace {

const COLORREF kLeft = RGB(200, 30, 10);
const COLORREF kRight = RGB(20, 40, 250);

// A visible popup window whose client area is kLeft on its left half and
// kRight on its right half, painted by the window itself.
class PaintedWindow {
public:
    PaintedWindow(int left, int top, int width, int height)
    {
        static ATOM atom = 0;
        if (!atom) {
            WNDCLASSW wc = {};
            wc.lpfnWndProc = Procedure;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.lpszClassName = L"DibSurfaceTestWindow";
            atom = RegisterClassW(&wc);
        }
        m_window = CreateWindowExW(WS_EX_TOPMOST, L"DibSurfaceTestWindow", L"", WS_POPUP | WS_VISIBLE, left, top,
                                   width, height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        UpdateWindow(m_window);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        GdiFlush();
    }
    ~PaintedWindow() { DestroyWindow(m_window); }
    PaintedWindow(const PaintedWindow&) = delete;
    PaintedWindow& operator=(const PaintedWindow&) = delete;

    HWND Get() const { return m_window; }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_ERASEBKGND)
            return 1;
        if (message != WM_PAINT)
            return DefWindowProcW(window, message, wParam, lParam);
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT client;
        GetClientRect(window, &client);
        RECT left = client, right = client;
        left.right = right.left = client.right / 2;
        HBRUSH a = CreateSolidBrush(kLeft), b = CreateSolidBrush(kRight);
        FillRect(dc, &left, a);
        FillRect(dc, &right, b);
        DeleteObject(a);
        DeleteObject(b);
        EndPaint(window, &paint);
        return 0;
    }

    HWND m_window;
};

struct Pixel {
    uint8_t r, g, b, a;
};

Pixel At(const DibSurface& surface, int x, int y)
{
    Pixel p = {};
    EXPECT_TRUE(surface.GetPixel(x, y, &p.r, &p.g, &p.b, &p.a));
    return p;
}

bool IsColour(const Pixel& p, COLORREF colour)
{
    return p.r == GetRValue(colour) && p.g == GetGValue(colour) && p.b == GetBValue(colour);
}

TEST(DibSurface, MadeBottomUpWithItsOwnDc)
{
    EXPECT_EQ(nullptr, DibSurface::Create(nullptr, 0, 5));
    EXPECT_EQ(nullptr, DibSurface::Create(nullptr, 5, -1));
    DibSurface* surface = DibSurface::Create(nullptr, 6, 4);
    ASSERT_TRUE(surface);
    PixelBuffer view = surface->GetPixelBuffer();
    EXPECT_TRUE(view.IsBottomUp());
    EXPECT_EQ(24, view.GetStride());
    EXPECT_EQ(4, view.GetBytesPerPixel());

    // GDI output and our pixel operations meet in the same bits.
    surface->FillAll(1, 2, 3, 4);
    RECT top = {0, 0, 6, 1};
    HBRUSH brush = CreateSolidBrush(kLeft);
    FillRect(surface->GetDC(), &top, brush);
    DeleteObject(brush);
    GdiFlush();
    EXPECT_TRUE(IsColour(At(*surface, 5, 0), kLeft));
    Pixel below = At(*surface, 5, 1);
    EXPECT_EQ(1, below.r);
    EXPECT_EQ(4, below.a);
    surface->SetAlpha(0, 1, 2, 1, 77);
    EXPECT_EQ(77, At(*surface, 1, 1).a);
    EXPECT_EQ(4, At(*surface, 2, 1).a);
    delete surface;
}

// Showing a window takes Wine a while: one serves every test that reads one.
// It stands in the screen's bottom right corner, where windows of tests that
// run at the same time are unlikely to cover what the screen copy reads.
class WindowPixels : public testing::Test {
protected:
    static void SetUpTestSuite() { s_window = new PaintedWindow(950, 710, 60, 40); }
    static void TearDownTestSuite()
    {
        delete s_window;
        s_window = nullptr;
    }
    static PaintedWindow* s_window;
};

PaintedWindow* WindowPixels::s_window = nullptr;

TEST_F(WindowPixels, CopiesOnlyTheRequestedWindowPixels)
{
    PaintedWindow& window = *s_window;
    DibSurface* surface = DibSurface::Create(nullptr, 20, 20);
    ASSERT_TRUE(surface);
    surface->FillBytes(RECT{0, 0, 20, 20}, 0x11);
    // 4 x 3 pixels straddling the window's halves, from (28, 5) to (2, 3).
    surface->CopyFromWindowDC(window.Get(), 28, 5, 4, 3, 2, 3);
    EXPECT_TRUE(IsColour(At(*surface, 2, 3), kLeft));
    EXPECT_TRUE(IsColour(At(*surface, 3, 5), kLeft));
    EXPECT_TRUE(IsColour(At(*surface, 4, 3), kRight));
    EXPECT_TRUE(IsColour(At(*surface, 5, 5), kRight));
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) {
            if (x >= 2 && x < 6 && y >= 3 && y < 6)
                continue;
            Pixel p = At(*surface, x, y);
            ASSERT_EQ(0x11, p.r) << x << "," << y;
            ASSERT_EQ(0x11, p.a) << x << "," << y;
        }
    }
    // A request larger than the surface stops at its edges.
    surface->CopyFromWindowDC(window.Get(), 0, 0, 500, 500, 15, 15);
    EXPECT_TRUE(IsColour(At(*surface, 19, 19), kLeft));
    EXPECT_EQ(0x11, At(*surface, 14, 19).r);
    surface->CopyFromWindowDC(nullptr, 0, 0, 0, 5, 0, 0);
    delete surface;
}

TEST_F(WindowPixels, CopiesFromTheScreenUnderComposition)
{
    PaintedWindow& window = *s_window;
    MKSystemCheckAnswers answers;
    answers.dwmCompositionEnabled = 1;
    MKSetSystemCheckAnswers(&answers);
    DibSurface* surface = DibSurface::Create(nullptr, 4, 4);
    surface->FillBytes(RECT{0, 0, 4, 4}, 0);
    surface->CopyFromWindow(window.Get(), 40, 10, 4, 4, 0, 0);
    MKSetSystemCheckAnswers(nullptr);
    EXPECT_TRUE(IsColour(At(*surface, 0, 0), kRight));
    EXPECT_TRUE(IsColour(At(*surface, 3, 3), kRight));
    delete surface;
}

TEST_F(WindowPixels, ReadsOneScreenPixel)
{
    PaintedWindow& window = *s_window;
    uint32_t colour = 1;
    ASSERT_TRUE(ReadScreenPixel(window.Get(), 50, 20, &colour));
    EXPECT_EQ(uint32_t(GetRValue(kRight)) << 8 | uint32_t(GetGValue(kRight)) << 16 | uint32_t(GetBValue(kRight)) << 24,
              colour & 0xFFFFFF00u);
    ASSERT_TRUE(ReadScreenPixel(window.Get(), 3, 3, &colour));
    EXPECT_EQ(uint32_t(GetRValue(kLeft)) << 8, colour & 0xFF00u);
    EXPECT_FALSE(ReadScreenPixel(nullptr, 0, 0, &colour));
    EXPECT_EQ(0u, colour);
}

// A data cache holding a one-colour device-independent bitmap: the view
// object of a real OLE object, drawn the way a windowless control draws.
IViewObject* FilledPictureView(COLORREF colour)
{
    const int side = 4;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof(BITMAPINFOHEADER) + side * side * 4);
    BITMAPINFOHEADER* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(block));
    *header = {};
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biWidth = side;
    header->biHeight = side;
    header->biPlanes = 1;
    header->biBitCount = 32;
    uint8_t* bits = reinterpret_cast<uint8_t*>(header + 1);
    for (int i = 0; i < side * side; ++i) {
        bits[4 * i] = GetBValue(colour), bits[4 * i + 1] = GetGValue(colour);
        bits[4 * i + 2] = GetRValue(colour), bits[4 * i + 3] = 0;
    }
    GlobalUnlock(block);
    IOleCache* cache = nullptr;
    if (FAILED(CreateDataCache(nullptr, CLSID_NULL, IID_IOleCache, reinterpret_cast<void**>(&cache))))
        return nullptr;
    FORMATETC format = {CF_DIB, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    DWORD connection = 0;
    STGMEDIUM medium = {};
    medium.tymed = TYMED_HGLOBAL;
    medium.hGlobal = block;
    IViewObject* view = nullptr;
    if (SUCCEEDED(cache->Cache(&format, 0, &connection)) && SUCCEEDED(cache->SetData(&format, &medium, TRUE)))
        cache->QueryInterface(IID_IViewObject, reinterpret_cast<void**>(&view));
    cache->Release();
    return view;
}

TEST(DibSurface, ViewObjectsDrawInsideTheClip)
{
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    IViewObject* view = FilledPictureView(kRight);
    ASSERT_TRUE(view);
    DibSurface* surface = DibSurface::Create(nullptr, 30, 30);
    surface->FillBytes(RECT{0, 0, 30, 30}, 0);
    // The object's point (5, 5) lands on the surface's origin; it fills the
    // clip rectangle, so its pixels cover device 0..14.
    surface->DrawViewObject(view, 5, 5, RECT{0, 0, 20, 20});
    EXPECT_TRUE(IsColour(At(*surface, 0, 0), kRight));
    EXPECT_TRUE(IsColour(At(*surface, 14, 14), kRight));
    EXPECT_FALSE(IsColour(At(*surface, 16, 16), kRight));
    EXPECT_FALSE(IsColour(At(*surface, 25, 5), kRight));
    // The clip is gone afterwards: GDI reaches the whole surface again.
    RECT corner = {25, 25, 30, 30};
    HBRUSH brush = CreateSolidBrush(kLeft);
    FillRect(surface->GetDC(), &corner, brush);
    DeleteObject(brush);
    GdiFlush();
    EXPECT_TRUE(IsColour(At(*surface, 27, 27), kLeft));
    delete surface;
    view->Release();
    OleUninitialize();
}

TEST(DibSurface, SavesPngAndJpeg)
{
    ScratchFolder folder;
    DibSurface* surface = DibSurface::Create(nullptr, 8, 6);
    surface->FillAll(10, 20, 30, 128);
    surface->Fill(RECT{0, 0, 8, 1}, 200, 100, 50, 255);
    std::wstring png = folder.File(L"s.png");
    ASSERT_TRUE(surface->SavePng(png.c_str(), 6));
    RasterImage* image = LoadImageFile(png.c_str());
    ASSERT_TRUE(image);
    EXPECT_EQ(PixelType::Rgba, image->GetPixelType());
    const uint8_t* top = image->GetTopRow(0);
    const uint8_t* below = image->GetTopRow(1);
    EXPECT_EQ((std::vector<uint8_t>{200, 100, 50, 255}), std::vector<uint8_t>(top, top + 4));
    EXPECT_EQ((std::vector<uint8_t>{10, 20, 30, 128}), std::vector<uint8_t>(below, below + 4));
    image->Release();
    std::wstring jpeg = folder.File(L"s.jpg");
    ASSERT_TRUE(surface->SaveJpeg(jpeg.c_str(), 90));
    image = LoadImageFile(jpeg.c_str());
    ASSERT_TRUE(image);
    EXPECT_EQ(8, image->GetWidth());
    image->Release();
    EXPECT_FALSE(surface->SavePng(L"", 6));
    delete surface;
}

}  // namespace
