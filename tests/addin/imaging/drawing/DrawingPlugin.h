#pragma once
#include "addin/imaging/drawing/DrawingTables.h"

#include <objbase.h>
#include <stdint.h>
#include <string>
#include <vector>
#include <windows.h>

// The drawing tables as a plug-in sees them: arrays filled once by
// FillDrawingTables, their entries called through WINAPI pointers of the
// layout's types.

enum DrawingTable { kFactory, kHandle, kHandle2, kShader, kPicture, kPath, kPaint, kBitmap, kCanvas, kTables };
const int kDrawingSlots[kTables] = {20, 1, 1, 3, 4, 33, 19, 18, 39};
using Object = void*;

// The 40-byte matrix as it crosses the tables.
struct MatrixRecord {
    float values[9];
    uint32_t mask;
};

struct DrawingPlugin {
    DrawingPlugin()
    {
        for (int t = 0; t < kTables; ++t)
            tables[t].resize(size_t(kDrawingSlots[t]));
        const int* n = kDrawingSlots;
        factory = FillDrawingTables(n[0], tables[0].data(), n[1], tables[1].data(), n[2], tables[2].data(), n[3],
                                    tables[3].data(), n[4], tables[4].data(), n[5], tables[5].data(), n[6],
                                    tables[6].data(), n[7], tables[7].data(), n[8], tables[8].data());
    }
    ~DrawingPlugin() { Call<void>(kFactory, 0, factory); }
    DrawingPlugin(const DrawingPlugin&) = delete;
    DrawingPlugin& operator=(const DrawingPlugin&) = delete;

    // Arguments must have the slot's exact types (float, not double).
    template <class R, class... A>
    R Call(DrawingTable table, int slot, A... args)
    {
        return reinterpret_cast<R(WINAPI*)(A...)>(tables[table][size_t(slot)])(args...);
    }

    Object Bitmap(int width, int height, bool opaque)
    {
        return Call<Object>(kFactory, 10, factory, width, height, int(opaque), 0);
    }
    Object CanvasOn(Object bitmap) { return Call<Object>(kFactory, 2, factory, bitmap); }
    Object Paint(uint32_t color, bool antiAlias = false)
    {
        Object paint = Call<Object>(kFactory, 3, factory, Object(nullptr), antiAlias ? 1u : 0u, 0);
        Call<void>(kPaint, 6, paint, color);
        return paint;
    }
    uint32_t Pixel(Object bitmap, int x, int y) { return Call<uint32_t>(kBitmap, 12, bitmap, x, y); }
    // The bitmap's text form (empty when the slot gives none).
    std::wstring Text(Object bitmap)
    {
        wchar_t* text = nullptr;
        int length = 0;
        Call<int>(kBitmap, 17, bitmap, &text, &length);
        std::wstring form = text ? std::wstring(text, size_t(length)) : std::wstring();
        CoTaskMemFree(text);
        return form;
    }
    void Release(DrawingTable table, Object object) { Call<void>(table, 0, object); }

    std::vector<GfxSlot> tables[kTables];
    Object factory;
};
