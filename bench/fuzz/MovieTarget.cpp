// Movies loaded into a player that then steps through their frames (actions
// run, each frame drawn by the OpenGL drawer into a small window that is
// never shown, with the mouse moving over it), as the stand-alone player
// plays them.
#include <windows.h>

#include <cstdio>

#include "FuzzTarget.h"
#include "player/engine/PVGLDraw.h"
#include "player/engine/PVMovieParser.h"
#include "player/engine/PVPlayer.h"
#include "player/engine/WGLView.h"
#include "tests/fixtures/SwfActionWriter.h"
#include "tests/fixtures/SwfBitmapWriter.h"
#include "tests/fixtures/SwfButtonWriter.h"
#include "tests/fixtures/SwfFile.h"
#include "tests/fixtures/SwfFontWriter.h"
#include "tests/fixtures/SwfMorphWriter.h"
#include "tests/fixtures/SwfShapeWriter.h"
#include "tests/fixtures/SwfTextWriter.h"
#include "tests/fixtures/SwfTimeline.h"
#include "tests/player/engine/MemoryInStream.h"
#include "tests/player/engine/RecordingDrawer.h"

namespace {

// Steps beyond these would only repeat what a looping movie already did.
const int kMaxSteps = 300;

SwfShapeWriter Square(int fill)
{
    SwfShapeWriter shape;
    const int style = shape.AddSolidFill(200, 40, 40);
    shape.Select(-1, fill ? fill : style, -1).Rectangle(0, 0, 400, 400, fill ? fill : style);
    return shape;
}

// A movie of every kind of tag the engine reads: shapes with solid,
// gradient and bitmap fills, bitmaps, a morph, fonts and text, buttons, a
// sprite, labels and actions over several frames.
SwfTimeline RichMovie()
{
    SwfTimeline movie;
    movie.SetBackgroundColor(10, 20, 30);
    std::vector<uint8_t> pixels(4 * 4 * 4);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = uint8_t(i * 13);
    movie.DefineCharacter(36, 5, 0, SwfLossless(5, 5, 4, 4, 0, pixels));
    SwfShapeWriter shape(32);
    const int solid = shape.AddSolidFill(250, 10, 10, 128);
    const int gradient = shape.AddGradientFill(0x10, SwfMatrix{}, {{0, {255, 0, 0, 255}}, {255, {0, 0, 255, 255}}});
    const int bitmap = shape.AddBitmapFill(0x41, 5, SwfMatrix{.hasScale = true, .scaleX = 0x140000, .scaleY = 0x140000});
    const int line = shape.AddLineStyle(40, 0, 0, 0);
    shape.Select(solid, -1, line).MoveTo(0, 0).Line(500, 0).Curve(100, 100, -100, 400).Line(-500, 0).Line(0, -500);
    shape.Select(gradient, bitmap, -1).MoveTo(100, 100).Line(200, 0).Line(0, 200).Line(-200, 0).Line(0, -200);
    movie.DefineShape(1, shape, 0, 700, 0, 700);
    movie.DefineShape(2, Square(0), 0, 400, 0, 400);

    SwfMorphWriter morph;
    morph.AddSolidFill(0xFF0000FF, 0x0000FFFF);
    morph.AddLineStyle(20, 60, 0x000000FF, 0x00FF00FF);
    morph.StartPath().Select(1, -1, 1).MoveTo(0, 0).Line(300, 0).Line(0, 300).Line(-300, 0).Line(0, -300);
    morph.EndPath().MoveTo(50, 50).Line(400, 0).Curve(50, 200, -50, 200).Line(-400, 0).Line(0, -400);
    const int32_t startRect[4] = {0, 300, 0, 300};
    const int32_t endRect[4] = {0, 500, 0, 500};
    movie.DefineCharacter(46, 3, 0, morph.Body(3, startRect, endRect));

    std::vector<SwfShapeWriter> glyphs(2);
    glyphs[0].Select(-1, 1, -1).MoveTo(0, 0).Line(500, 0).Line(0, -700).Line(-500, 0).Line(0, 700);
    glyphs[1].Select(-1, 1, -1).MoveTo(0, 0).Curve(250, -700, 250, 700);
    movie.DefineCharacter(48, 6, 0, SwfDefineFont2(6, 0x00, "Fuzz", glyphs, {'A', 'B'}));
    movie.DefineCharacter(10, 7, 0, SwfDefineFont(7, glyphs));
    movie.Tag(13, SwfDefineFontInfo(7, 1, "Info", 0, {'a', 'b'}));
    SwfTextWriter text(33);
    text.AddStyle({.font = 6, .height = 400, .color = 0x204080FF, .x = 20, .y = 400});
    text.AddRun({{0, 300}, {1, 300}, {0, 300}});
    const int32_t textRect[4] = {0, 1200, 0, 500};
    movie.DefineCharacter(33, 8, 0, text.Body(8, textRect, SwfMatrix{}, 1, 10));

    SwfButtonWriter button;
    button.Record(1 | 2 | 4 | 8, 2, 1).Record(2, 1, 2, SwfMatrix{.translateX = 40});
    button.Condition(0x0008, SwfActionWriter().GotoFrame(2).Plain(0x06));
    movie.DefineCharacter(34, 9, 0, button.Body2(9));

    SwfTimeline sprite;
    sprite.PlaceObject2({.depth = 1, .id = 2}).ShowFrame();
    sprite.PlaceObject2({.depth = 1, .move = true, .matrix = SwfMatrix{.translateX = 100}}).ShowFrame();
    sprite.DoAction(SwfActionWriter().GotoFrame(0).Plain(0x06)).ShowFrame().End();
    movie.DefineSprite(4, 3, sprite);

    movie.FrameLabel("start").PlaceObject2({.depth = 1, .id = 1});
    movie.PlaceObject2({.depth = 2, .id = 3, .ratio = 0}).PlaceObject2({.depth = 3, .id = 4, .name = "clip"});
    movie.PlaceObject2({.depth = 4, .id = 8}).PlaceObject2({.depth = 5, .id = 9});
    movie.DoAction(SwfActionWriter().ConstantPool({"clip", "x"}).SetTarget("clip").Plain(0x07).SetTarget(""));
    movie.ShowFrame();
    movie.PlaceObject2({.depth = 2, .move = true, .ratio = 30000}).RemoveObject2(4).ShowFrame();
    movie.DoAction(SwfActionWriter().PushString("a").PushNumber(2).Plain(0x0A).GotoLabel("start").Plain(0x06));
    movie.PlaceObject2({.depth = 2, .move = true, .ratio = 65535}).ShowFrame().End();
    return movie;
}

void AddSeeds(const std::wstring& fixtures, std::vector<FuzzInput>& seeds)
{
    AddSeedFiles(fixtures, L".swf", "swf", seeds);
    const std::vector<uint8_t> rich = SwfMakeFile({.frameCount = 3}, RichMovie().Bytes());
    seeds.push_back({rich, "swf"});
    seeds.push_back({SwfDeflateFile(rich), "swf"});
}

// The hidden window the drawers draw into, made once: 80 x 60 pixels keep
// each frame cheap while every span still reaches the rasteriser.
HWND DrawWindow()
{
    static HWND window = [] {
        WNDCLASSW wc = {};
        wc.style = CS_OWNDC;
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"VistelloFuzzMovieView";
        RegisterClassW(&wc);
        return CreateWindowExW(0, wc.lpszClassName, L"fuzz", WS_POPUP, 0, 0, 80, 60, nullptr, nullptr,
                               wc.hInstance, nullptr);
    }();
    return window;
}

// An OpenGL drawer for `player` over a new view of the hidden window; null
// (and said once) when no view can be made there.
PVGLDraw* MakeGLDrawer(PVPlayer& player)
{
    static bool warned = false;
    HWND window = DrawWindow();
    // A view kept for the whole run holds the GL table, which the last view
    // to go would otherwise unload, to be loaded again for the next input.
    static WGLView* keeper = [window] {
        auto* view = window ? new WGLView(window) : nullptr;
        if (view && view->Create(16, true) != 0) {
            delete view;
            view = nullptr;
        }
        return view;
    }();
    (void)keeper;
    auto* view = window ? new WGLView(window) : nullptr;
    if (view && view->Create(16, true) == 0) {
        auto* drawer = new PVGLDraw(&player, view);
        if (drawer->Init())
            return drawer;
        delete drawer;
    } else {
        delete view;
    }
    if (!warned) {
        std::fprintf(stderr, "movie: no OpenGL view; frames go to the recording drawer\n");
        warned = true;
    }
    return nullptr;
}

void FreeGLDrawer(PVGLDraw* drawer)
{
    HDC dc = GetDC(DrawWindow());
    if (drawer->View()->MakeCurrent(dc)) {
        drawer->FreeTextures();
        drawer->View()->Done();
    }
    ReleaseDC(DrawWindow(), dc);
    delete drawer;
}

void Run(const FuzzInput& input)
{
    PVPlayer player;
    if (!player.Init())
        return;
    player.SetMainMovieLoops(true);
    MemoryInStream stream(input.bytes);
    PVMovieParser parser;
    if (!parser.Load(stream, player))
        return;
    // The drawer takes the movie's frame size when it is made.
    PVGLDraw* gl = MakeGLDrawer(player);
    RecordingDrawer recording(&player);
    PVDraw* drawer = gl ? static_cast<PVDraw*>(gl) : &recording;
    const int steps = player.GetFrameCount() + 2 < kMaxSteps ? player.GetFrameCount() + 2 : kMaxSteps;
    for (int i = 0; i < steps; ++i)
        player.Step(drawer, (i * 7) % 80, (i * 5) % 60, i % 3 == 1, true);
    if (gl)
        FreeGLDrawer(gl);
}

}  // namespace

const FuzzTarget& MovieTarget()
{
    static const FuzzTarget target = {"movie", AddSeeds, Run, nullptr};
    return target;
}
