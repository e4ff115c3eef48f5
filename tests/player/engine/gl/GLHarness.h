#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "fixtures/SwfFile.h"
#include "player/engine/PVPlayer.h"

class PVGLDraw;
class SwfTimeline;

struct Pixel {
    uint8_t r, g, b, a;
};

// Every colour channel within `tolerance`.
bool Near(Pixel p, Pixel q, int tolerance);
// "r,g,b", for failure messages.
std::string Show(Pixel p);

// A shown window of `width` x `height` pixels with a WGL view (16 depth
// bits, stencil) and a drawer over a player whose movie frame is the same
// size in twips, so one pixel is 20 twips.
class GLHarness {
public:
    GLHarness(int width = 200, int height = 150);
    ~GLHarness();
    GLHarness(const GLHarness&) = delete;
    GLHarness& operator=(const GLHarness&) = delete;

    // Loads the tags (ending with End) as a movie of this window's size,
    // makes the view and the drawer, and runs the first frame.
    bool Load(const SwfTimeline& tags, uint16_t frameCount = 1);
    bool LoadFile(const std::vector<uint8_t>& file);
    bool Ready() const { return ready_; }
    // Runs the next frame's tags without drawing.
    void Step();
    // Draws the frame into the back buffer and reads it back (before any
    // swap). False when nothing was drawn.
    bool Draw(int mouseX = -1, int mouseY = -1, bool force = true);
    // Makes the view current for direct GL calls in a test; Done ends it.
    bool MakeCurrent();
    void Done();

    // The last Draw's pixel, y from the top.
    Pixel At(int x, int y) const;
    // Pixels of the last Draw within the box whose colour is within
    // `tolerance` of `color` in every channel.
    int Count(int x0, int y0, int x1, int y1, Pixel color, int tolerance = 0) const;
    int Width() const { return width_; }
    int Height() const { return height_; }

    // glGetError after the last Draw.
    unsigned lastError = 0;

    PVPlayer player;
    PVGLDraw* drawer = nullptr;
    HWND window = nullptr;

private:
    int width_;
    int height_;
    bool ready_ = false;
    std::vector<uint8_t> pixels_;
};

// SWF header of a movie `width` x `height` pixels.
SwfHeader HeaderOfPixels(int width, int height, uint16_t frameCount = 1);
