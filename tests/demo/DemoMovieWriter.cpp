#include "DemoMovieWriter.h"

#include "fixtures/SwfActionWriter.h"
#include "fixtures/SwfBitmapWriter.h"
#include "fixtures/SwfButtonWriter.h"
#include "fixtures/SwfFile.h"
#include "fixtures/SwfFontWriter.h"
#include "fixtures/SwfShapeWriter.h"
#include "fixtures/SwfSoundWriter.h"
#include "fixtures/SwfTextWriter.h"
#include "fixtures/SwfTimeline.h"

#include <algorithm>
#include <string>

namespace {

constexpr int kTwips = 20;
constexpr int kRate = 12;
constexpr int kSamplesPerMp3Frame = 1152;
constexpr int kSampleRate = 44100;
enum : uint16_t { kSquare = 1, kPanel, kBitmap, kTile, kFont, kText, kButtonFace, kButtonOver, kButton };

SwfMatrix Scaled(double scale, int32_t tx, int32_t ty)
{
    SwfMatrix m;
    m.hasScale = true;
    m.scaleX = m.scaleY = int32_t(scale * 65536);
    m.translateX = tx;
    m.translateY = ty;
    return m;
}

SwfMatrix At(int x, int y)
{
    SwfMatrix m;
    m.translateX = x * kTwips;
    m.translateY = y * kTwips;
    return m;
}

void Box(SwfShapeWriter& shape, int fill, int x, int y, int w, int h)
{
    shape.Select(fill, 0, 0).MoveTo(x, y).Line(w, 0).Line(0, h).Line(-w, 0).Line(0, -h);
}

// Five by seven cells per letter, a cell 128 units of the 1024-unit em.
const char* const kLetters[][7] = {
    {"X...X", "X...X", "X...X", "X...X", ".X.X.", ".X.X.", "..X.."},  // V
    {"XXXXX", "..X..", "..X..", "..X..", "..X..", "..X..", "XXXXX"},  // I
    {".XXXX", "X....", "X....", ".XXX.", "....X", "....X", "XXXX."},  // S
    {"XXXXX", "..X..", "..X..", "..X..", "..X..", "..X..", "..X.."},  // T
    {"XXXXX", "X....", "X....", "XXXX.", "X....", "X....", "XXXXX"},  // E
    {"X....", "X....", "X....", "X....", "X....", "X....", "XXXXX"},  // L
    {".XXX.", "X...X", "X...X", "X...X", "X...X", "X...X", ".XXX."},  // O
};
constexpr int kCell = 128;
constexpr int kAdvance = 6 * kCell;

// Each run of filled cells in a row is one box above the baseline.
SwfShapeWriter Glyph(const char* const rows[7])
{
    SwfShapeWriter glyph;
    for (int row = 0; row < 7; ++row) {
        const std::string cells = rows[row];
        for (size_t start = 0; start < cells.size();) {
            if (cells[start] != 'X') {
                ++start;
                continue;
            }
            size_t end = cells.find('.', start);
            if (end == std::string::npos)
                end = cells.size();
            Box(glyph, 1, int(start) * kCell, (row - 7) * kCell, int(end - start) * kCell, kCell);
            start = end;
        }
    }
    return glyph;
}

void AddWord(SwfTimeline& tags)
{
    std::vector<SwfShapeWriter> glyphs;
    for (const auto& letter : kLetters)
        glyphs.push_back(Glyph(letter));
    tags.DefineCharacter(10, kFont, 4, SwfDefineFont(kFont, glyphs));
    const int height = 40 * kTwips;
    const int advance = kAdvance * height / 1024;
    SwfTextWriter text;
    text.AddStyle({.font = kFont, .height = uint16_t(height), .color = 0xF0F0F0FFu, .x = 0, .y = 0});
    std::vector<std::pair<uint16_t, int32_t>> run;
    for (uint16_t index : {0, 1, 2, 3, 4, 5, 5, 6})  // V I S T E L L O
        run.push_back({index, advance});
    text.AddRun(run);
    const int32_t bounds[4] = {0, 8 * advance, -height, 0};
    tags.DefineCharacter(11, kText, 5, text.Body(kText, bounds, SwfMatrix(), 3, 12));
}

void AddPictures(SwfTimeline& tags)
{
    SwfShapeWriter square;
    Box(square, square.AddSolidFill(220, 30, 30), 0, 0, kDemoSquareSide * kTwips, kDemoSquareSide * kTwips);
    tags.DefineShape(kSquare, square, 0, kDemoSquareSide * kTwips, 0, kDemoSquareSide * kTwips);

    const int panelW = 300 * kTwips, panelH = 140 * kTwips;
    SwfShapeWriter panel;
    int gradient = panel.AddGradientFill(0x10, Scaled(panelW / 32768.0, panelW / 2, panelH / 2),
                                         {{0, {40, 90, 230, 255}}, {255, {250, 210, 40, 255}}});
    Box(panel, gradient, 0, 0, panelW, panelH);
    tags.DefineShape(kPanel, panel, 0, panelW, 0, panelH);

    const int side = 32;
    std::vector<uint8_t> pixels;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            bool light = ((x / 8) + (y / 8)) % 2 == 0;
            pixels.insert(pixels.end(), {0, 240, uint8_t(light ? 240 : 140), uint8_t(light ? 220 : 20)});
        }
    }
    tags.Tag(20, SwfLossless(kBitmap, 5, side, side, 0, pixels), true);
    const int tileW = 170 * kTwips, tileH = 150 * kTwips;
    SwfShapeWriter tile;
    Box(tile, tile.AddBitmapFill(0x40, kBitmap, Scaled(kTwips, 0, 0)), 0, 0, tileW, tileH);
    tags.DefineShape(kTile, tile, 0, tileW, 0, tileH);
}

void AddButton(SwfTimeline& tags)
{
    const int w = 170 * kTwips, h = 60 * kTwips;
    SwfShapeWriter face, over;
    Box(face, face.AddSolidFill(40, 170, 70), 0, 0, w, h);
    Box(over, over.AddSolidFill(90, 210, 120), 0, 0, w, h);
    tags.DefineShape(kButtonFace, face, 0, w, 0, h).DefineShape(kButtonOver, over, 0, w, 0, h);
    SwfButtonWriter button;
    button.Record(1 | 8, kButtonFace, 1).Record(2 | 4, kButtonOver, 2);
    SwfActionWriter play;
    play.Plain(0x06);
    button.Condition(0x0008, play);
    tags.DefineCharacter(34, kButton, 6, button.Body2(kButton));
}

// The MP3 frames, whole, in the order they come.
std::vector<std::vector<uint8_t>> SplitMp3(const std::vector<uint8_t>& bytes)
{
    static const int kKbps[16] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0};
    static const int kHz[4] = {44100, 48000, 32000, 0};
    std::vector<std::vector<uint8_t>> frames;
    size_t at = 0;
    while (at + 4 <= bytes.size() && bytes[at] == 0xFF && (bytes[at + 1] & 0xFE) == 0xFA) {
        int kbps = kKbps[bytes[at + 2] >> 4], hz = kHz[(bytes[at + 2] >> 2) & 3];
        if (!kbps || !hz)
            break;
        size_t length = size_t(SwfMp3FrameLength(kbps, hz, (bytes[at + 2] & 2) != 0));
        if (at + length > bytes.size())
            break;
        frames.emplace_back(bytes.begin() + long(at), bytes.begin() + long(at + length));
        at += length;
    }
    return frames;
}

}  // namespace

std::vector<uint8_t> DemoMovie(const std::vector<uint8_t>& mp3Bytes)
{
    const std::vector<std::vector<uint8_t>> mp3 = SplitMp3(mp3Bytes);
    const int samplesPerFrame = kSampleRate / kRate;
    const int soundFrames = int(mp3.size()) * kSamplesPerMp3Frame / samplesPerFrame;
    const int frames = std::max(kRate, soundFrames);

    SwfTimeline tags;
    tags.SetBackgroundColor(24, 32, 64);
    AddPictures(tags);
    AddWord(tags);
    AddButton(tags);
    const SwfSoundFormat format{};  // MP3, 44100 Hz, 16-bit, mono
    tags.Tag(18, SwfStreamHeadBody(format, format, uint16_t(samplesPerFrame)));
    tags.PlaceObject(kPanel, 2, At(220, 30)).PlaceObject(kTile, 3, At(30, 220));
    tags.PlaceObject(kText, 4, At(230, 270)).PlaceObject(kButton, 5, At(230, 310));

    size_t sent = 0;
    for (int frame = 0; frame < frames; ++frame) {
        SwfPlace square;
        square.depth = 1;
        square.move = frame > 0;
        if (frame == 0)
            square.id = kSquare;
        square.matrix = At(kDemoSquareX + frame * 40 / frames, kDemoSquareY);
        tags.PlaceObject2(square);
        std::vector<uint8_t> block;
        int count = 0;
        while (sent < mp3.size() && int(sent) * kSamplesPerMp3Frame < (frame + 1) * samplesPerFrame) {
            block.insert(block.end(), mp3[sent].begin(), mp3[sent].end());
            ++sent;
            ++count;
        }
        if (count)
            tags.Tag(19, SwfStreamBlockBody(true, uint16_t(count * kSamplesPerMp3Frame), 0, block));
        tags.ShowFrame();
    }
    tags.End();
    SwfHeader header;
    header.xmax = 550 * kTwips;
    header.ymax = 400 * kTwips;
    header.rate = kRate << 8;
    header.frameCount = uint16_t(frames);
    return SwfMakeFile(header, tags.Bytes());
}
