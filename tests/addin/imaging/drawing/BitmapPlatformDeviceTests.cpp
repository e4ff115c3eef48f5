#include "addin/imaging/drawing/BitmapPlatformDevice.h"
#include "addin/imaging/drawing/PlatformDevice.h"

#include "TargetWindow.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

struct DeviceRef {
    explicit DeviceRef(BitmapPlatformDevice* d) : device(d) {}
    ~DeviceRef()
    {
        if (device)
            device->Release();
    }
    BitmapPlatformDevice* operator->() const { return device; }
    BitmapPlatformDevice* device;
};

TEST(PlatformDevice, ClampSpanCases)
{
    struct Case {
        int available, position, size;
        bool ok;
        int outPosition, outSize;
    };
    const Case cases[] = {
        {100, -10, 30, true, 0, 20}, {100, 90, 30, true, 90, 10}, {100, 5, -1, true, 5, 95},
        {100, 100, 5, false, 0, 0},  {100, 0, -3, false, 0, 0},   {100, -10, -1, true, 0, 100},
        {100, -10, -2, true, 0, 100}, {100, -40, 30, false, 0, 0},
    };
    for (const Case& c : cases) {
        int position = c.position, size = c.size;
        bool ok = PlatformDevice::ClampSpan(c.available, &position, &size);
        EXPECT_EQ(ok, c.ok) << c.position << "," << c.size;
        if (ok && c.ok) {
            EXPECT_EQ(position, c.outPosition) << c.position << "," << c.size;
            EXPECT_EQ(size, c.outSize) << c.position << "," << c.size;
        }
    }
}

TEST(BitmapPlatformDevice, ZeroSizeMakesOnePixelAndTranslucentStartsClear)
{
    DeviceRef tiny(BitmapPlatformDevice::MakeForScreen(0, 7, false, nullptr));
    ASSERT_TRUE(tiny.device);
    EXPECT_EQ(tiny->GetBitmap().GetWidth(), 1);
    EXPECT_EQ(tiny->GetBitmap().GetHeight(), 1);
    DeviceRef device(BitmapPlatformDevice::MakeForScreen(8, 5, false, nullptr));
    ASSERT_TRUE(device.device);
    DrawBitmap& bitmap = device->GetBitmap();
    ASSERT_EQ(bitmap.GetRowBytes(), 32);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 8; ++x)
            ASSERT_EQ(bitmap.Row32(y)[x], 0u);
}

TEST(BitmapPlatformDevice, GdiOutputIsSeenAfterTheFlushTopDown)
{
    DeviceRef device(BitmapPlatformDevice::MakeForScreen(10, 10, true, nullptr));
    ASSERT_TRUE(device.device);
    HDC dc = device->GetMemoryDC();
    ASSERT_TRUE(dc);
    RECT top = {0, 0, 10, 2};
    HBRUSH brush = CreateSolidBrush(RGB(10, 20, 30));
    FillRect(dc, &top, brush);
    DeleteObject(brush);
    device->FlushGdi();
    EXPECT_EQ(device->GetBitmap().Row32(0)[3] & 0xFFFFFF, 0x0A141Eu);
    EXPECT_EQ(device->GetBitmap().Row32(5)[3] & 0xFFFFFF, 0u);
    EXPECT_EQ(device->GetMemoryDC(), dc);
}

TEST(BitmapPlatformDevice, MemoryDCFollowsMatrixAndClip)
{
    DeviceRef device(BitmapPlatformDevice::MakeForScreen(40, 40, true, nullptr));
    ASSERT_TRUE(device.device);
    DrawMatrix matrix;
    matrix.PreTranslate(5, 6);
    matrix.PreScale(2, 2);
    device->SetMatrixClip(matrix, {RECT{0, 0, 10, 10}, RECT{20, 20, 30, 30}});
    HDC dc = device->GetMemoryDC();
    XFORM xform;
    ASSERT_TRUE(GetWorldTransform(dc, &xform));
    EXPECT_EQ(xform.eM11, 2.0f);
    EXPECT_EQ(xform.eDx, 5.0f);
    EXPECT_EQ(xform.eDy, 6.0f);
    // A filled rectangle covering the device lands only inside the two clip
    // rectangles, which are in device pixels whatever the matrix.
    RECT all = {-10, -10, 40, 40};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    device->FlushGdi();
    const DrawBitmap& bitmap = device->GetBitmap();
    EXPECT_EQ(bitmap.Row32(5)[5] & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(bitmap.Row32(25)[25] & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(bitmap.Row32(15)[15] & 0xFFFFFF, 0u);
    EXPECT_EQ(bitmap.Row32(5)[25] & 0xFFFFFF, 0u);
    // A copy out leaves the world transform as it was.
    HDC screen = GetDC(nullptr);
    HDC target = CreateCompatibleDC(screen);
    HBITMAP targetBitmap = CreateCompatibleBitmap(screen, 40, 40);
    HGDIOBJ old = SelectObject(target, targetBitmap);
    device->CopyToDC(target, 0, 0, nullptr);
    ASSERT_TRUE(GetWorldTransform(dc, &xform));
    EXPECT_EQ(xform.eM11, 2.0f);
    EXPECT_EQ(xform.eDx, 5.0f);
    SelectObject(target, old);
    DeleteObject(targetBitmap);
    DeleteDC(target);
    ReleaseDC(nullptr, screen);
}

TEST(BitmapPlatformDevice, CopyToWindowCopiesOpaqueAndBlendsTranslucent)
{
    TargetWindow window;
    HDC windowDC = GetDC(window.Get());
    COLORREF background = GetPixel(windowDC, 30, 30);

    DeviceRef opaque(BitmapPlatformDevice::MakeForScreen(16, 16, true, nullptr));
    ASSERT_TRUE(opaque.device);
    opaque->GetBitmap().EraseColor(0xFF2040C0);
    opaque->CopyToDC(windowDC, 0, 0, nullptr);
    // Without a memory DC before the copy, the copy's own DC is gone again
    // and the next request makes a fresh, working one.
    HDC fresh = opaque->GetMemoryDC();
    ASSERT_TRUE(fresh);
    EXPECT_EQ(GetObjectType(fresh), DWORD(OBJ_MEMDC));

    DeviceRef translucent(BitmapPlatformDevice::MakeForScreen(16, 16, false, nullptr));
    ASSERT_TRUE(translucent.device);
    DrawBitmap& bitmap = translucent->GetBitmap();
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 8; ++x)
            bitmap.Row32(y)[x] = 0xFFFF0000;  // left half opaque red, right half clear
    translucent->CopyToDC(windowDC, 32, 32, nullptr);
    GdiFlush();

    EXPECT_EQ(GetPixel(windowDC, 5, 5), RGB(0x20, 0x40, 0xC0));
    EXPECT_EQ(GetPixel(windowDC, 20, 20), background);
    EXPECT_EQ(GetPixel(windowDC, 35, 40), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(windowDC, 44, 40), background);
    ReleaseDC(window.Get(), windowDC);
}

TEST(BitmapPlatformDevice, SetOpaqueRectFollowsTheTranslation)
{
    DeviceRef device(BitmapPlatformDevice::MakeForScreen(10, 10, false, nullptr));
    ASSERT_TRUE(device.device);
    DrawMatrix matrix;
    matrix.PreTranslate(2.6f, 1.2f);
    device->SetMatrixClip(matrix, {RECT{0, 0, 10, 10}});
    device->SetOpaqueRect(0, 0, 2, -1);
    const DrawBitmap& bitmap = device->GetBitmap();
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            EXPECT_EQ(bitmap.Row32(y)[x], (x == 3 || x == 4) && y >= 1 ? 0xFF000000u : 0u) << x << "," << y;
}

}  // namespace
