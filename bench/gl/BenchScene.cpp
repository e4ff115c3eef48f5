#include "BenchScene.h"

#include <cmath>
#include <map>

#include "tests/fixtures/SwfBitmapWriter.h"
#include "tests/fixtures/SwfFile.h"
#include "tests/fixtures/SwfFontWriter.h"
#include "tests/fixtures/SwfShapeWriter.h"
#include "tests/fixtures/SwfTextWriter.h"
#include "tests/fixtures/SwfTimeline.h"

namespace {

constexpr int kTwips = 20;
constexpr uint16_t kFontId = 1;
constexpr uint16_t kBitmapId = 2;
constexpr uint16_t kFirstItemId = 10;

// A small linear congruential generator: the same scenes every run.
struct Random {
    uint32_t state = 12345;
    float Next(float from, float to)
    {
        state = state * 1664525u + 1013904223u;
        return from + (to - from) * float(state >> 8) / float(1 << 24);
    }
    uint8_t Byte() { return uint8_t(Next(0, 255.99f)); }
};

BenchItem Item(Random& r, BenchItem::Kind kind)
{
    BenchItem item{kind, r.Next(0, 500), r.Next(0, 360), r.Next(10, 90), r.Next(10, 70), {}, {}, {}};
    for (int i = 0; i < 3; ++i) {
        item.rgba[i] = r.Byte();
        item.rgba2[i] = r.Byte();
    }
    item.rgba[3] = r.Next(0, 1) < 0.25f ? 160 : 255;
    item.rgba2[3] = 255;
    return item;
}

SwfMatrix Scale(double sx, double sy, double tx, double ty)
{
    SwfMatrix m;
    m.hasScale = true;
    m.scaleX = int32_t(std::lround(sx * 65536));
    m.scaleY = int32_t(std::lround(sy * 65536));
    m.translateX = int32_t(std::lround(tx));
    m.translateY = int32_t(std::lround(ty));
    return m;
}

void Box(SwfShapeWriter& shape, int fill, float x, float y, float w, float h)
{
    const int x0 = int(x * kTwips), y0 = int(y * kTwips), x1 = int((x + w) * kTwips), y1 = int((y + h) * kTwips);
    shape.Select(fill, 0, 0).MoveTo(x0, y0).Line(x1 - x0, 0).Line(0, y1 - y0).Line(x0 - x1, 0).Line(0, y0 - y1);
}

void Circle(SwfShapeWriter& shape, int fill, float cx, float cy, float r)
{
    const double pi = 3.14159265358979, reach = r / std::cos(pi / 8);
    auto at = [&](double radius, double angle, bool y) {
        return int(std::lround(((y ? cy : cx) + radius * (y ? std::sin(angle) : std::cos(angle))) * kTwips));
    };
    int x = at(r, 0, false), y = at(r, 0, true);
    shape.Select(fill, 0, 0).MoveTo(x, y);
    for (int i = 0; i < 8; ++i) {
        const double mid = (i + 0.5) * pi / 4, end = (i + 1) * pi / 4;
        const int qx = at(reach, mid, false), qy = at(reach, mid, true);
        const int ex = at(r, end, false), ey = at(r, end, true);
        shape.Curve(qx - x, qy - y, ex - qx, ey - qy);
        x = ex;
        y = ey;
    }
}

// Glyph outlines: a ring for vowels, a box with a notch, a bar pair.
std::vector<GlyphOp> MakeGlyph(char letter)
{
    std::vector<GlyphOp> ops;
    auto ring = [&](int cx, int cy, int r, bool hole) {
        const double pi = 3.14159265358979, reach = r / std::cos(pi / 8);
        const int dir = hole ? -1 : 1;
        ops.push_back({GlyphOp::kMove, cx + r, cy, 0, 0});
        for (int i = 0; i < 8; ++i) {
            const double mid = dir * (i + 0.5) * pi / 4, end = dir * (i + 1) * pi / 4;
            ops.push_back({GlyphOp::kCurve, int(std::lround(cx + r * std::cos(end))),
                           int(std::lround(cy + r * std::sin(end))), int(std::lround(cx + reach * std::cos(mid))),
                           int(std::lround(cy + reach * std::sin(mid)))});
        }
    };
    auto box = [&](int x, int y, int w, int h) {
        ops.push_back({GlyphOp::kMove, x, y, 0, 0});
        ops.push_back({GlyphOp::kLine, x + w, y, 0, 0});
        ops.push_back({GlyphOp::kLine, x + w, y + h, 0, 0});
        ops.push_back({GlyphOp::kLine, x, y + h, 0, 0});
        ops.push_back({GlyphOp::kLine, x, y, 0, 0});
    };
    const int shape = (letter - 'a') % 3;
    if (shape == 0) {
        ring(280, -260, 240, false);
        ring(280, -260, 130, true);
    } else if (shape == 1) {
        box(60, -720, 120, 720);
        ring(330, -240, 200, false);
        ring(330, -240, 100, true);
    } else {
        box(60, -520, 420, 110);
        box(60, -200, 420, 110);
        box(220, -720, 110, 720);
    }
    return ops;
}

}  // namespace

const std::vector<GlyphOp>& BenchGlyph(char letter)
{
    static std::map<char, std::vector<GlyphOp>> glyphs;
    auto found = glyphs.find(letter);
    if (found == glyphs.end())
        found = glyphs.emplace(letter, MakeGlyph(letter)).first;
    return found->second;
}

void BenchBitmapPixel(int x, int y, uint8_t rgb[3])
{
    const bool dark = ((x / 8) + (y / 8)) % 2;
    rgb[0] = dark ? 40 : uint8_t(200 + x / 2);
    rgb[1] = dark ? uint8_t(60 + y) : 220;
    rgb[2] = dark ? 120 : 30;
}

std::vector<BenchScene> MakeBenchScenes()
{
    Random r;
    std::vector<BenchScene> scenes;
    auto add = [&](const char* name, BenchItem::Kind kind, int count) {
        BenchScene scene{name, {}};
        for (int i = 0; i < count; ++i)
            scene.items.push_back(Item(r, kind));
        scenes.push_back(scene);
    };
    add("shapes", BenchItem::kBox, 2000);
    add("curves", BenchItem::kCircle, 600);
    BenchScene gradients{"gradients", {}};
    for (int i = 0; i < 300; ++i)
        gradients.items.push_back(Item(r, i % 2 ? BenchItem::kRadial : BenchItem::kLinear));
    scenes.push_back(gradients);
    add("bitmaps", BenchItem::kBitmap, 300);
    BenchScene text{"text", {}};
    for (int line = 0; line < 40; ++line) {
        BenchItem run = Item(r, BenchItem::kGlyphRun);
        run.x = 5;
        run.y = 12 + line * 10;
        run.h = 9;  // font height in pixels
        run.rgba[3] = 255;
        for (int i = 0; i < 90; ++i)
            run.text += char('a' + (line * 7 + i) % 26);
        text.items.push_back(run);
    }
    scenes.push_back(text);
    return scenes;
}

std::vector<uint8_t> BenchMovie(const BenchScene& scene)
{
    SwfTimeline tags;
    std::vector<SwfShapeWriter> glyphs;
    for (char c = 'a'; c <= 'z'; ++c) {
        SwfShapeWriter glyph;
        int x = 0, y = 0;
        for (const GlyphOp& op : BenchGlyph(c)) {
            if (op.kind == GlyphOp::kMove) {
                glyph.Select(1, 0, 0).MoveTo(op.x, op.y);
            } else if (op.kind == GlyphOp::kLine) {
                glyph.Line(op.x - x, op.y - y);
            } else {
                glyph.Curve(op.cx - x, op.cy - y, op.x - op.cx, op.y - op.cy);
            }
            x = op.x;
            y = op.y;
        }
        glyphs.push_back(glyph);
    }
    tags.DefineCharacter(10, kFontId, 4, SwfDefineFont(kFontId, glyphs));
    std::vector<uint8_t> pixels;
    for (int y = 0; y < kBenchBitmapSide; ++y) {
        for (int x = 0; x < kBenchBitmapSide; ++x) {
            uint8_t rgb[3];
            BenchBitmapPixel(x, y, rgb);
            pixels.insert(pixels.end(), {0, rgb[0], rgb[1], rgb[2]});
        }
    }
    tags.Tag(20, SwfLossless(kBitmapId, 5, kBenchBitmapSide, kBenchBitmapSide, 0, pixels), true);

    uint16_t id = kFirstItemId;
    for (const BenchItem& item : scene.items) {
        if (item.kind == BenchItem::kGlyphRun) {
            SwfTextWriter text;
            SwfTextWriter::Style style;
            style.font = kFontId;
            style.height = uint16_t(item.h * kTwips);
            style.color = uint32_t(item.rgba[0]) << 24 | uint32_t(item.rgba[1]) << 16 | uint32_t(item.rgba[2]) << 8 | 255;
            style.x = int16_t(item.x * kTwips);
            style.y = int16_t(item.y * kTwips);
            text.AddStyle(style);
            const int advance = int(std::lround(kBenchAdvance * item.h * kTwips / 1024));
            for (size_t at = 0; at < item.text.size(); at += 100) {
                std::vector<std::pair<uint16_t, int32_t>> run;
                for (size_t i = at; i < item.text.size() && i < at + 100; ++i)
                    run.push_back({uint16_t(item.text[i] - 'a'), advance});
                text.AddRun(run);
            }
            const int32_t rect[4] = {0, 11000, 0, 8000};
            tags.DefineCharacter(11, id, 5, text.Body(id, rect, SwfMatrix(), 5, 12));
        } else {
            SwfShapeWriter shape(32);
            int fill = 0;
            const float cx = item.x + item.w / 2, cy = item.y + item.h / 2;
            switch (item.kind) {
            case BenchItem::kLinear:
            case BenchItem::kRadial: {
                const double s = (item.kind == BenchItem::kLinear ? item.w : item.w / 2) * kTwips /
                                 (item.kind == BenchItem::kLinear ? 32768.0 : 16384.0);
                fill = shape.AddGradientFill(item.kind == BenchItem::kLinear ? 16 : 18,
                                             Scale(s, s, cx * kTwips, cy * kTwips),
                                             {{0, {item.rgba[0], item.rgba[1], item.rgba[2], 255}},
                                              {255, {item.rgba2[0], item.rgba2[1], item.rgba2[2], 255}}});
                break;
            }
            case BenchItem::kBitmap:
                fill = shape.AddBitmapFill(64, kBitmapId, Scale(kTwips, kTwips, item.x * kTwips, item.y * kTwips));
                break;
            default:
                fill = shape.AddSolidFill(item.rgba[0], item.rgba[1], item.rgba[2], item.rgba[3]);
                break;
            }
            if (item.kind == BenchItem::kCircle)
                Circle(shape, fill, item.x, item.y, item.w / 2);
            else
                Box(shape, fill, item.x, item.y, item.w, item.h);
            tags.DefineShape(id, shape, 0, 11000, 0, 8000);
        }
        tags.PlaceObject(id, uint16_t(id - kFirstItemId + 1), {});
        ++id;
    }
    tags.ShowFrame().End();
    SwfHeader header;
    header.xmax = 550 * kTwips;
    header.ymax = 400 * kTwips;
    return SwfMakeFile(header, tags.Bytes());
}
