// Reports how fast the movie engine reads two large generated movies (one of
// timeline records, one of characters), stored and deflated, next to zlib's
// own inflate speed on the same bytes; then how long the player takes to
// advance 1000 frames of each without drawing.
#include <windows.h>
#include <zlib.h>

#include <cstdio>
#include <vector>

#include "tests/fixtures/SwfActionWriter.h"
#include "tests/fixtures/SwfBitmapWriter.h"
#include "tests/fixtures/SwfFile.h"
#include "tests/fixtures/SwfFontWriter.h"
#include "tests/fixtures/SwfShapeWriter.h"
#include "tests/fixtures/SwfTextWriter.h"
#include "tests/fixtures/SwfTimeline.h"
#include "tests/player/engine/MemoryInStream.h"
#include "player/engine/PVCharDictionary.h"
#include "player/engine/PVMovie.h"
#include "player/engine/PVMovieParser.h"
#include "player/engine/PVPlayer.h"

namespace {

// Timeline tags only (places with matrices, colour transforms and names,
// removes, labels, actions and sprites), so no byte is skipped unread.
std::vector<uint8_t> LargeMovie(int frames, uint16_t& frameCount)
{
    SwfTimeline sprite;
    for (int f = 0; f < 40; ++f) {
        SwfMatrix m;
        m.hasRotate = true;
        m.rotateSkew0 = f * 1000;
        m.rotateSkew1 = -f * 1000;
        m.translateX = f * 20;
        sprite.PlaceObject2({.depth = 1, .move = f > 0, .id = 1, .matrix = m}).ShowFrame();
    }
    sprite.End();

    SwfTimeline movie;
    for (uint16_t id = 1; id <= 200; ++id)
        movie.DefineSprite(id, 40, sprite);
    for (int f = 0; f < frames; ++f) {
        if (f % 10 == 0)
            movie.FrameLabel("label" + std::to_string(f));
        SwfMatrix m;
        m.hasScale = true;
        m.scaleX = 0x10000 + f;
        m.scaleY = 0x10000 - f;
        m.translateX = f % 5000;
        m.translateY = -(f % 3000);
        SwfCxform c;
        c.hasMult = c.hasAdd = true;
        c.mult[0] = static_cast<int16_t>(f % 256);
        c.add[3] = -20;
        const uint16_t depth = static_cast<uint16_t>(1 + f % 50);
        movie.RemoveObject2(depth);
        movie.PlaceObject2({.depth = depth, .id = static_cast<uint16_t>(1 + f % 200), .matrix = m, .cxform = c,
                            .name = "clip" + std::to_string(depth)});
        movie.PlaceObject(static_cast<uint16_t>(1 + f % 7), static_cast<uint16_t>(60 + f % 20), m);
        SwfActionWriter actions;
        actions.SetTarget("/clip" + std::to_string(depth))
            .GotoFrame(static_cast<uint16_t>(f % 40))
            .Plain(0x06)
            .SetTarget("")
            .PushString("value");
        // The other frames skip ahead to the next label. A goto runs its
        // target frame's actions at once, so the labelled frames jump
        // nowhere: a goto that reached another would chain through the movie.
        if (f % 10 != 0)
            actions.GotoLabel("label" + std::to_string(f / 10 * 10 + 10)).Plain(0x06);
        movie.DoAction(actions);
        movie.ShowFrame();
    }
    movie.End();
    frameCount = static_cast<uint16_t>(frames);
    return SwfMakeFile({.frameCount = frameCount}, movie.Bytes());
}

// A path of `edges` lines and curves around a wobbly ring.
void Wobble(SwfShapeWriter& shape, int edges, int seed)
{
    shape.MoveTo(1000 + seed % 50, 1000);
    for (int e = 0; e < edges; ++e) {
        const int step = (e * 37 + seed) % 200 - 100;
        if (e % 3 == 0)
            shape.Curve(40 + step, 30, 40, -30 - step);
        else
            shape.Line(step, 60 - (e % 7) * 20);
    }
}

// Characters as real movies hold them: 400 shapes of 200-edge paths with
// solid and gradient fills and lines, 60 lossless bitmaps of 64 x 64 pixels,
// 6 fonts of 96 glyphs and 200 texts; then `frames` frames moving a few of
// them.
std::vector<uint8_t> ContentMovie(int frames, uint16_t& frameCount)
{
    SwfTimeline movie;
    uint16_t id = 1;
    for (int i = 0; i < 60; ++i, ++id) {
        std::vector<uint8_t> argb;
        for (int p = 0; p < 64 * 64; ++p) {
            argb.push_back(255);
            argb.push_back(static_cast<uint8_t>(p * 7 + i));
            argb.push_back(static_cast<uint8_t>(p >> 4));
            argb.push_back(static_cast<uint8_t>(p * 13 ^ i));
        }
        movie.DefineCharacter(36, id, 3, SwfLossless(id, 5, 64, 64, 0, argb));
    }
    for (int i = 0; i < 400; ++i, ++id) {
        SwfShapeWriter shape(32);
        shape.AddSolidFill(static_cast<uint8_t>(i), 40, 200, 255);
        shape.AddGradientFill(0x10, SwfMatrix{.translateX = i}, {{0, {0, 0, 0, 255}}, {255, {250, 9, 9, 128}}});
        shape.AddBitmapFill(0x41, static_cast<uint16_t>(1 + i % 60), SwfMatrix{});
        shape.AddLineStyle(20, 1, 2, 3, 255);
        shape.Select(1 + i % 3, 0, 1);
        Wobble(shape, 200, i);
        movie.DefineShape(id, shape, 0, 20000, 0, 20000);
    }
    const uint16_t firstFont = id;
    for (int f = 0; f < 6; ++f, ++id) {
        std::vector<SwfShapeWriter> glyphs(96);
        std::vector<uint16_t> codes;
        for (int g = 0; g < 96; ++g) {
            glyphs[g].Select(1, -1, -1);
            Wobble(glyphs[g], 24, g + f);
            codes.push_back(static_cast<uint16_t>(32 + g));
        }
        movie.DefineCharacter(48, id, 4, SwfDefineFont2(id, 0x0C, "Font" + std::to_string(f), glyphs, codes));
    }
    const uint16_t firstText = id;
    for (int t = 0; t < 200; ++t, ++id) {
        SwfTextWriter text(33);
        text.AddStyle({.font = static_cast<uint16_t>(firstFont + t % 6), .height = 240, .color = 0x102030FF, .x = 0});
        std::vector<std::pair<uint16_t, int32_t>> run;
        for (int g = 0; g < 60; ++g)
            run.push_back({static_cast<uint16_t>((g * 7 + t) % 96), 120});
        text.AddRun(run);
        const int32_t rect[4] = {0, 8000, 0, 400};
        movie.DefineCharacter(33, id, 5, text.Body(id, rect, SwfMatrix{}, 7, 8));
    }
    for (uint16_t depth = 1; depth <= 40; ++depth) {
        const uint16_t character = depth % 2 ? static_cast<uint16_t>(61 + depth * 9) : firstText + depth;
        movie.PlaceObject2({.depth = depth, .id = character, .matrix = SwfMatrix{.translateX = depth * 200}});
    }
    movie.ShowFrame();
    for (int f = 1; f < frames; ++f) {
        for (uint16_t depth = 1 + f % 4; depth <= 40; depth += 4) {
            SwfMatrix m;
            m.translateX = depth * 200 + f % 300;
            m.translateY = (f * depth) % 4000;
            movie.PlaceObject2({.depth = depth, .move = true, .matrix = m});
        }
        movie.ShowFrame();
    }
    movie.End();
    frameCount = static_cast<uint16_t>(frames);
    return SwfMakeFile({.xmax = 11000, .ymax = 8000, .frameCount = frameCount}, movie.Bytes());
}

double Now()
{
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Best time of a few rounds of reading the movie; freeing the model
// afterwards is not timed. Negative when a read fails.
double BestParse(const std::vector<uint8_t>& file)
{
    double best = 1e30;
    for (int round = 0; round < 5; ++round) {
        PVCharDictionary dictionary;
        if (!dictionary.Init())
            return -1;
        PVMovieParser parser;
        MemoryInStream stream(file);
        PVRect rect;
        float rate;
        const double start = Now();
        PVMovie* movie = parser.ReadMovie(stream, dictionary, rect, rate);
        const double elapsed = Now() - start;
        if (!movie)
            return -1;
        movie->Release();
        if (elapsed < best)
            best = elapsed;
    }
    return best;
}

double BestInflate(const std::vector<uint8_t>& deflated, size_t size)
{
    std::vector<uint8_t> out(size);
    double best = 1e30;
    for (int round = 0; round < 5; ++round) {
        uLongf length = static_cast<uLongf>(size);
        const double start = Now();
        const int result =
            uncompress(out.data(), &length, deflated.data() + 8, static_cast<uLong>(deflated.size() - 8));
        const double elapsed = Now() - start;
        if (result != Z_OK)
            return -1;
        if (elapsed < best)
            best = elapsed;
    }
    return best;
}

// Seconds for the player to step `frames` frames of the movie with no
// drawer; negative when the movie cannot be loaded.
double StepFrames(const std::vector<uint8_t>& file, int frames)
{
    PVPlayer player;
    PVMovieParser parser;
    MemoryInStream stream(file);
    if (!player.Init() || !parser.Load(stream, player))
        return -1;
    player.SetMainMovieLoops(true);
    const double start = Now();
    for (int i = 0; i < frames; ++i)
        player.Step(nullptr, -1, -1, false, false);
    return Now() - start;
}

// Parses the movie stored and deflated beside inflate alone; false when a
// run fails.
bool Report(const char* name, const std::vector<uint8_t>& stored, uint16_t frameCount)
{
    const std::vector<uint8_t> deflated = SwfDeflateFile(stored);
    const double megabytes = static_cast<double>(stored.size()) / (1 << 20);
    const double parseStored = BestParse(stored);
    const double parseDeflated = BestParse(deflated);
    const double inflateOnly = BestInflate(deflated, stored.size() - 8);
    if (parseStored < 0 || parseDeflated < 0 || inflateOnly < 0)
        return false;
    std::printf("%s movie: %.1f MB uncompressed, %.1f MB deflated, %u frames\n", name, megabytes,
                static_cast<double>(deflated.size()) / (1 << 20), frameCount);
    std::printf("  parse stored movie:    %8.1f MB/s  (%.2f of inflate)\n", megabytes / parseStored,
                inflateOnly / parseStored);
    std::printf("  parse deflated movie:  %8.1f MB/s  (%.2f of inflate)\n", megabytes / parseDeflated,
                inflateOnly / parseDeflated);
    std::printf("  zlib inflate alone:    %8.1f MB/s\n", megabytes / inflateOnly);
    return true;
}

}  // namespace

int main()
{
    uint16_t timelineFrames = 0;
    uint16_t contentFrames = 0;
    const std::vector<uint8_t> timeline = LargeMovie(60000, timelineFrames);
    const std::vector<uint8_t> content = ContentMovie(1000, contentFrames);
    if (!Report("timeline", timeline, timelineFrames) || !Report("content", content, contentFrames)) {
        std::printf("a run failed\n");
        return 1;
    }
    std::printf("(MB of uncompressed movie per second, best of 5; freeing not timed)\n");
    const struct {
        const char* name;
        const std::vector<uint8_t>& file;
    } movies[] = {{"timeline", timeline}, {"content", content}};
    for (const auto& movie : movies) {
        const double stepping = StepFrames(movie.file, 1000);
        if (stepping < 0) {
            std::printf("the %s movie did not load\n", movie.name);
            return 1;
        }
        std::printf("player, 1000 frames of the %s movie without drawing: %.1f ms\n", movie.name, stepping * 1000);
    }
    return 0;
}
