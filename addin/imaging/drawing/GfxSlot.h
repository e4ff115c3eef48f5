#pragma once
#include "base/MKCrashGuard.h"

#include <stdint.h>
#include <type_traits>
#include <windows.h>

// One entry of a drawing table as plug-ins receive it: a WINAPI function,
// object first, whose real signature the table's layout fixes.
using GfxSlot = void (*)();

constexpr int kGfxFactorySlots = 20;
constexpr int kGfxCanvasSlots = 39;
constexpr int kGfxPaintSlots = 19;
constexpr int kGfxPathSlots = 33;
constexpr int kGfxShaderSlots = 3;
constexpr int kGfxBitmapSlots = 18;
constexpr int kGfxPictureSlots = 4;
constexpr int kGfxHandleSlots = 1;

// Turns an implementation into a table entry: the WINAPI convention, and a
// crash guard so that no exception or fault returns into the plug-in (a
// guarded failure answers 0).
template <auto F>
struct GfxEntry;

template <class R, class... A, R (*F)(A...)>
struct GfxEntry<F> {
    static R WINAPI Call(A... args)
    {
        static MKExceptionInfo s_info;
        if constexpr (std::is_void_v<R>) {
            MKCrashGuard(s_info, [&] { F(args...); });
        } else {
            R result{};
            MKCrashGuard(s_info, [&] { result = F(args...); });
            return result;
        }
    }
};

#define GFX_SLOT(function) reinterpret_cast<GfxSlot>(&GfxEntry<&function>::Call)
