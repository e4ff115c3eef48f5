// Reports how fast the movie engine reads a large generated movie, stored
// and deflated, next to zlib's own inflate speed on the same bytes.
#include <windows.h>
#include <zlib.h>

#include <cstdio>
#include <vector>

#include "tests/fixtures/SwfActionWriter.h"
#include "tests/fixtures/SwfFile.h"
#include "tests/fixtures/SwfTimeline.h"
#include "tests/player/engine/MemoryInStream.h"
#include "player/engine/PVCharDictionary.h"
#include "player/engine/PVMovie.h"
#include "player/engine/PVMovieParser.h"

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
        movie.DoAction(SwfActionWriter()
                           .SetTarget("/clip" + std::to_string(depth))
                           .GotoFrame(static_cast<uint16_t>(f % 40))
                           .Plain(0x06)
                           .SetTarget("")
                           .PushString("value")
                           .GotoLabel("label" + std::to_string(f / 10 * 10))
                           .Plain(0x07));
        movie.ShowFrame();
    }
    movie.End();
    frameCount = static_cast<uint16_t>(frames);
    return SwfMakeFile({.frameCount = frameCount}, movie.Bytes());
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

}  // namespace

int main()
{
    uint16_t frameCount = 0;
    const std::vector<uint8_t> stored = LargeMovie(60000, frameCount);
    const std::vector<uint8_t> deflated = SwfDeflateFile(stored);
    const double megabytes = static_cast<double>(stored.size()) / (1 << 20);
    std::printf("movie: %.1f MB uncompressed, %.1f MB deflated, %u frames\n", megabytes,
                static_cast<double>(deflated.size()) / (1 << 20), frameCount);

    const double parseStored = BestParse(stored);
    const double parseDeflated = BestParse(deflated);
    const double inflateOnly = BestInflate(deflated, stored.size() - 8);
    if (parseStored < 0 || parseDeflated < 0 || inflateOnly < 0) {
        std::printf("a run failed\n");
        return 1;
    }
    std::printf("parse stored movie:    %8.1f MB/s\n", megabytes / parseStored);
    std::printf("parse deflated movie:  %8.1f MB/s\n", megabytes / parseDeflated);
    std::printf("zlib inflate alone:    %8.1f MB/s\n", megabytes / inflateOnly);
    std::printf("(MB of uncompressed movie per second, best of 5; freeing not timed)\n");
    return 0;
}
