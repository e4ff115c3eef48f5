#pragma once
#include "addin/imaging/drawing/DrawLooper.h"
#include "addin/imaging/drawing/DrawMaskFilter.h"
#include "addin/imaging/drawing/DrawShader.h"

#include <stdint.h>

// How shapes are drawn: colour or shader, fill or stroke, transfer mode.
// Enumerations use the drawing interface's numbers. Copies share the shader,
// mask filter and looper.
class DrawPaint {
public:
    enum Style : int32_t { kFill = 0, kStroke = 1, kStrokeAndFill = 2 };
    enum Cap : int32_t { kButtCap = 0, kRoundCap = 1, kSquareCap = 2 };
    enum Join : int32_t { kMiterJoin = 0, kRoundJoin = 1, kBevelJoin = 2 };
    enum Flags : uint32_t { kAntiAlias = 0x01, kFilterBitmap = 0x02, kAllFlags = 0xFFF };
    // Transfer modes in the drawing interface's numbering: the twelve
    // Porter-Duff operators, then darken, lighten, multiply (both alpha and
    // colour multiplied), screen and add (saturating). Source-over is no mode.
    enum Mode : int32_t {
        kClear = 0, kSrc = 1, kDst = 2, kSrcOver = 3, kDstOver = 4, kSrcIn = 5, kDstIn = 6, kSrcOut = 7,
        kDstOut = 8, kSrcATop = 9, kDstATop = 10, kXor = 11, kDarken = 12, kLighten = 13, kMultiply = 14,
        kScreen = 15, kAdd = 16, kNoMode = -1
    };

    DrawPaint() = default;
    DrawPaint(const DrawPaint& other);
    DrawPaint& operator=(const DrawPaint& other);
    ~DrawPaint();

    uint32_t GetColor() const { return m_color; }
    void SetColor(uint32_t color) { m_color = color; }
    uint8_t GetAlpha() const { return uint8_t(m_color >> 24); }
    Style GetStyle() const { return m_style; }
    void SetStyle(Style style);
    uint32_t GetFlags() const { return m_flags; }
    void SetFlags(uint32_t flags) { m_flags = flags & kAllFlags; }
    bool IsAntiAlias() const { return (m_flags & kAntiAlias) != 0; }
    float GetStrokeWidth() const { return m_strokeWidth; }
    // Negative widths are ignored; 0 draws one-pixel hairlines.
    void SetStrokeWidth(float width);
    float GetStrokeMiter() const { return m_miter; }
    void SetStrokeMiter(float miter);
    Cap GetStrokeCap() const { return m_cap; }
    void SetStrokeCap(Cap cap);
    Join GetStrokeJoin() const { return m_join; }
    void SetStrokeJoin(Join join);
    DrawShader* GetShader() const { return m_shader; }
    // Takes its own reference; null removes the shader.
    void SetShader(DrawShader* shader);
    DrawMaskFilter* GetMaskFilter() const { return m_maskFilter; }
    // Takes its own reference; null removes the filter.
    void SetMaskFilter(DrawMaskFilter* filter) { AssignRef(m_maskFilter, filter); }
    DrawLooper* GetLooper() const { return m_looper; }
    // Takes its own reference; null removes the looper.
    void SetLooper(DrawLooper* looper) { AssignRef(m_looper, looper); }
    // kNoMode (or source-over) draws source-over; out-of-range modes are ignored.
    int32_t GetTransferMode() const { return m_mode; }
    void SetTransferMode(int32_t mode);

private:
    uint32_t m_color = 0xFF000000;
    Style m_style = kFill;
    uint32_t m_flags = 0;
    float m_strokeWidth = 0;
    float m_miter = 4;
    Cap m_cap = kButtCap;
    Join m_join = kMiterJoin;
    DrawShader* m_shader = nullptr;
    DrawMaskFilter* m_maskFilter = nullptr;
    DrawLooper* m_looper = nullptr;
    int32_t m_mode = kNoMode;
};
