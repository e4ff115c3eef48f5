// Windowed nodes drawing image nodes through GDI, Direct3D 9 and a layered
// window, checked on the captured window and in the renderers' buffers.
#include "BackBufferPixels.h"
#include "Direct3DFaults.h"
#include "SceneTestSupport.h"
#include "addin/hosting/DibSurface.h"
#include "addin/hosting/Direct3DRenderer.h"
#include "addin/hosting/GdiRenderer.h"
#include "addin/hosting/ImageNode.h"
#include "addin/hosting/LayerNode.h"
#include "addin/hosting/NodeHost.h"
#include "addin/hosting/NodeLayer.h"
#include "fixtures/Fixtures.h"
#include "fixtures/WindowCapture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace {

void Pump(int milliseconds)
{
    DWORD end = GetTickCount() + milliseconds;
    do {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(5);
    } while (int(end - GetTickCount()) > 0);
}

// A 40 x 40 picture: the top half opaque red, the bottom half green at alpha
// 128; saved as PNG (with alpha) or, opaque yellow, as JPEG.
std::wstring WritePng(const ScratchFolder& folder)
{
    std::unique_ptr<DibSurface> surface(DibSurface::Create(nullptr, 40, 40));
    surface->Fill(RECT{0, 0, 40, 20}, 255, 0, 0, 255);
    surface->Fill(RECT{0, 20, 40, 40}, 0, 255, 0, 128);
    std::wstring path = folder.File(L"picture.png");
    EXPECT_TRUE(surface->SavePng(MKString(path.c_str()), 6));
    return path;
}

std::wstring WriteJpeg(const ScratchFolder& folder)
{
    std::unique_ptr<DibSurface> surface(DibSurface::Create(nullptr, 40, 40));
    surface->FillAll(255, 255, 0, 255);
    std::wstring path = folder.File(L"picture.jpg");
    EXPECT_TRUE(surface->SaveJpeg(MKString(path.c_str()), 95));
    return path;
}

// A pixel of a 60 x 60 back buffer as 0xRRGGBB.
DWORD At60(const std::vector<DWORD>& pixels, int x, int y)
{
    EXPECT_EQ(pixels.size(), 3600u);
    return pixels.size() == 3600 ? pixels[y * 60 + x] & 0xFFFFFF : 0xDEADBEEF;
}

HHOOK s_hook = nullptr;

// Refuses the creation of node windows (a CBT hook answering non-zero).
LRESULT CALLBACK RefuseNodeWindows(int code, WPARAM wParam, LPARAM lParam)
{
    wchar_t name[64] = {};
    if (code == HCBT_CREATEWND) {
        GetClassNameW(reinterpret_cast<HWND>(wParam), name, 64);
        if (wcscmp(name, L"VistelloNodeWindow") == 0)
            return 1;
    }
    return CallNextHookEx(s_hook, code, wParam, lParam);
}

// A visible host window with one layer; nodes added by the test are started
// and shown by Show.
class RenderingTest : public ::testing::Test {
protected:
    RenderingTest() : host(240, 160, 240, 160)
    {
        SetWindowPos(host.window.Get(), HWND_TOP, 0, 0, 240, 160, SWP_SHOWWINDOW);
        layer = host->CreateLayer(0, 0, 240, 160, true, false);
    }

    WindowedNode* AddWindowed(int mode, int renderer, float x, float y, uint8_t r, uint8_t g, uint8_t b, uint8_t a)
    {
        auto* node = AddTo(layer, new WindowedNode(mode, 0, renderer), x, y, 60, 60);
        node->SetBackgroundColor(r, g, b, a);
        return node;
    }

    ImageNode* AddImage(WindowedNode* parent, const std::wstring& path)
    {
        auto* image = new ImageNode();
        image->SetPath(MKString(path.c_str()));
        return AddTo(parent, image, 10, 10, 40, 40);
    }

    void Show()
    {
        ASSERT_TRUE(layer->Start(true));
        host->RequestRepaint();
        Pump(200);
    }

    std::vector<DWORD> Capture(const wchar_t* label)
    {
        int width = 0, height = 0;
        std::vector<DWORD> pixels = CapturePane(host.window.Get(), label, width, height, true);
        EXPECT_EQ(width, 240);
        return pixels;
    }

    static DWORD At(const std::vector<DWORD>& pixels, int x, int y) { return pixels[y * 240 + x] & 0xFFFFFF; }

    ScratchFolder folder;
    TestHost host;
    LayerNode* layer = nullptr;
};

TEST_F(RenderingTest, GdiDirect3DAndLayeredNodesShowTheirImages)
{
    std::wstring png = WritePng(folder), jpeg = WriteJpeg(folder);
    WindowedNode* gdi = AddWindowed(0, 0, 10, 10, 0, 0, 255, 255);
    ImageNode* gdiImage = AddImage(gdi, png);
    WindowedNode* d3d = AddWindowed(0, 2, 90, 10, 0, 255, 0, 255);
    AddImage(d3d, jpeg);
    WindowedNode* d3dPng = AddWindowed(0, 2, 170, 10, 0, 0, 255, 255);
    AddImage(d3dPng, png);
    WindowedNode* layered = AddWindowed(3, 0, 10, 90, 0, 0, 0, 0);
    AddImage(layered, png);
    Show();

    ASSERT_EQ(gdi->GetRenderer()->GetKind(), NodeRenderer::Gdi);
    ASSERT_EQ(d3d->GetRenderer()->GetKind(), NodeRenderer::Direct3D);
    EXPECT_EQ(static_cast<Direct3DRenderer*>(d3d->GetRenderer())->GetSurfaceFormat(), D3DFMT_X8R8G8B8);
    EXPECT_EQ(gdiImage->GetContentLayer()->GetFormat(), uint32_t(NodeLayer::AlphaMeaningful));

    std::vector<DWORD> pixels = Capture(L"nodes");
    // GDI: the node's blue background, the image's red top and its green
    // half blended over blue.
    EXPECT_TRUE(Near(At(pixels, 12, 12), 0x0000FF));
    EXPECT_TRUE(Near(At(pixels, 30, 25), 0xFF0000));
    EXPECT_TRUE(Near(At(pixels, 30, 50), 0x00807F));
    EXPECT_TRUE(Near(At(pixels, 20, 20), 0xFF0000));  // the image's top left pixel
    EXPECT_TRUE(Near(At(pixels, 19, 19), 0x0000FF));  // just outside it
    // Direct3D (presented through OpenGL, which Wine keeps off the captured
    // screen here): a JPEG is opaque over the green background; the PNG
    // blends as under GDI.
    std::vector<DWORD> back = ReadBackBuffer(d3d);
    EXPECT_TRUE(Near(At60(back, 2, 2), 0x00FF00));
    EXPECT_TRUE(Near(At60(back, 30, 30), 0xFFFF00, 6));
    EXPECT_TRUE(Near(At60(back, 10, 10), 0xFFFF00, 6));
    EXPECT_TRUE(Near(At60(back, 9, 9), 0x00FF00));
    back = ReadBackBuffer(d3dPng);
    EXPECT_TRUE(Near(At60(back, 20, 15), 0xFF0000));
    EXPECT_TRUE(Near(At60(back, 20, 40), 0x00807F));
    EXPECT_TRUE(Near(At60(back, 55, 55), 0x0000FF));
    // Between the nodes the host window's own background stays.
    DWORD between = At(pixels, 80, 40);
    EXPECT_FALSE(Near(between, 0x0000FF, 20));
    EXPECT_FALSE(Near(between, 0x00FF00, 20));

    // The layered window's back buffer: transparent around the image,
    // premultiplied inside it (no per-pixel blending on the screen here).
    DibSurface* buffer = static_cast<GdiRenderer*>(layered->GetRenderer())->GetBackBuffer();
    uint8_t r, g, b, a;
    ASSERT_TRUE(buffer->GetPixel(2, 2, &r, &g, &b, &a));
    EXPECT_EQ(a, 0);
    ASSERT_TRUE(buffer->GetPixel(30, 15, &r, &g, &b, &a));
    EXPECT_EQ(r, 255);
    EXPECT_EQ(a, 255);
    ASSERT_TRUE(buffer->GetPixel(30, 40, &r, &g, &b, &a));
    EXPECT_NEAR(g, 128, 2);
    EXPECT_NEAR(a, 128, 2);
}

TEST_F(RenderingTest, ANodeMovedWithoutResizingDrawsAtItsNewPlace)
{
    std::wstring jpeg = WriteJpeg(folder);
    WindowedNode* gdi = AddWindowed(0, 0, 10, 10, 0, 0, 255, 255);
    ImageNode* gdiImage = AddImage(gdi, jpeg);
    WindowedNode* d3d = AddWindowed(0, 2, 90, 10, 0, 0, 255, 255);
    ImageNode* d3dImage = AddImage(d3d, jpeg);
    Show();
    ASSERT_EQ(d3d->GetRenderer()->GetKind(), NodeRenderer::Direct3D);

    gdiImage->SetRect(20, 10, 40, 40);
    d3dImage->SetRect(20, 10, 40, 40);
    Pump(100);
    // Node pixels (12, 30) were image and are background now; (55, 30) are
    // the image's new place.
    std::vector<DWORD> pixels = Capture(L"moved");
    EXPECT_TRUE(Near(At(pixels, 10 + 12, 10 + 30), 0x0000FF));
    EXPECT_TRUE(Near(At(pixels, 10 + 55, 10 + 30), 0xFFFF00, 6));
    std::vector<DWORD> back = ReadBackBuffer(d3d);
    EXPECT_TRUE(Near(At60(back, 12, 30), 0x0000FF));
    EXPECT_TRUE(Near(At60(back, 55, 30), 0xFFFF00, 6));
}

TEST_F(RenderingTest, ADeviceThatNeedsAResetDrawsItsNextFrame)
{
    Direct3DFaults faults;
    ASSERT_TRUE(faults.IsInstalled());
    WindowedNode* d3d = AddWindowed(0, 2, 10, 10, 0, 0, 255, 255);
    AddImage(d3d, WriteJpeg(folder));
    Show();
    ASSERT_EQ(d3d->GetRenderer()->GetKind(), NodeRenderer::Direct3D);
    EXPECT_TRUE(Near(At60(ReadBackBuffer(d3d), 30, 30), 0xFFFF00, 6));

    // Lost: frames are skipped, the dirty area waits.
    faults.SetCooperativeLevel(D3DERR_DEVICELOST);
    d3d->GetRenderer()->AddDirty(nullptr);
    RECT drawn;
    EXPECT_FALSE(d3d->ComposeFrame(drawn));
    EXPECT_TRUE(d3d->GetRenderer()->IsDirty());
    EXPECT_EQ(faults.GetResetCount(), 0);

    // Not reset: the next frame resets the device and draws everything again.
    faults.SetCooperativeLevel(D3DERR_DEVICENOTRESET);
    EXPECT_TRUE(d3d->ComposeFrame(drawn));
    EXPECT_EQ(faults.GetResetCount(), 1);
    EXPECT_EQ(drawn.right - drawn.left, 60);
    std::vector<DWORD> back = ReadBackBuffer(d3d);
    EXPECT_TRUE(Near(At60(back, 30, 30), 0xFFFF00, 6));
    EXPECT_TRUE(Near(At60(back, 2, 2), 0x0000FF));
}

TEST_F(RenderingTest, ARefusedDeviceLeavesTheNodeToGdi)
{
    Direct3DFaults faults;
    ASSERT_TRUE(faults.IsInstalled());
    faults.SetCreateDeviceResult(D3DERR_NOTAVAILABLE);
    WindowedNode* node = AddWindowed(0, 2, 10, 10, 0, 0, 255, 255);
    AddImage(node, WriteJpeg(folder));
    Show();
    ASSERT_EQ(node->GetRenderer()->GetKind(), NodeRenderer::Gdi);
    std::vector<DWORD> pixels = Capture(L"refused");
    EXPECT_TRUE(Near(At(pixels, 12, 12), 0x0000FF));
    EXPECT_TRUE(Near(At(pixels, 40, 40), 0xFFFF00, 6));
}

TEST_F(RenderingTest, At16BitsThePlainDisplayFormatIsTheSurfaceFormat)
{
    Direct3DFaults faults;
    ASSERT_TRUE(faults.IsInstalled());
    faults.SetDisplayFormat(D3DFMT_R5G6B5);
    WindowedNode* node = AddWindowed(0, 2, 10, 10, 0, 0, 255, 255);
    Show();
    ASSERT_EQ(node->GetRenderer()->GetKind(), NodeRenderer::Direct3D);
    EXPECT_EQ(static_cast<Direct3DRenderer*>(node->GetRenderer())->GetDisplayFormat(), D3DFMT_R5G6B5);
    EXPECT_EQ(static_cast<Direct3DRenderer*>(node->GetRenderer())->GetSurfaceFormat(), D3DFMT_R5G6B5);
}

TEST_F(RenderingTest, ARefusedWindowFailsTheStartAndTheSinkSeesNoStart)
{
    s_hook = SetWindowsHookExW(WH_CBT, RefuseNodeWindows, nullptr, GetCurrentThreadId());
    WindowedNode* node = AddWindowed(0, 0, 10, 10, 0, 0, 255, 255);
    TestSink sink;
    node->SetEventSink(&sink);
    ASSERT_TRUE(layer->Start(false));
    EXPECT_FALSE(node->Start(false));
    UnhookWindowsHookEx(s_hook);
    EXPECT_EQ(node->GetState(), SceneNode::Inactive);
    EXPECT_FALSE(node->HasNodeWindow());
    EXPECT_EQ(sink.calls, (std::vector<std::string>{"CanStart"}));
    // Once windows can be made again the node starts.
    EXPECT_TRUE(node->Start(false));
    EXPECT_TRUE(node->HasRenderer());
    node->SetEventSink(nullptr);
}

}  // namespace
