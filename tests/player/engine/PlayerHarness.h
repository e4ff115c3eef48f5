#pragma once
#include <cstdint>
#include <string>

#include "RecordingDrawer.h"
#include "player/engine/PVPlayer.h"

class PVDisplayList;
class PVMovieClip;
class SwfTimeline;

// A player over a movie made by the SWF writers, stepped with a recording
// drawer. Stand-in shapes go into the dictionary before the movie loads.
struct PlayerHarness {
    explicit PlayerHarness(bool loops = true);

    // A stand-in shape with these bounds (twips).
    void AddShape(uint16_t id, float xmin = 0, float xmax = 100, float ymin = 0, float ymax = 100);
    // `tags` must end with End. False when the player cannot load it.
    bool Load(const SwfTimeline& tags, uint16_t frameCount, uint16_t rate = 0x0C00);
    // One step with the mouse at (x, y) in twips (-1: outside the window).
    bool Step(int x = -1, int y = -1, bool down = false);
    // The main clip as DumpClip gives it.
    std::string Trace() const;
    PVMovieClip& Main() const { return *player.MainClip(); }
    // The child clip at `depth` of the main clip's list (null when none).
    PVMovieClip* Child(int depth) const;

    PVPlayer player;
    RecordingDrawer drawer{&player};
};

// One entry per filled depth: "depth:#id", "depth:-" without character,
// then "@x,y" (a translation), "r=N" (a ratio), "'name'", "clip=N" and the
// child clip in braces.
std::string DumpList(const PVDisplayList& list);
// "f=N" (current frame), " stop" when not playing, then the list.
std::string DumpClip(const PVMovieClip& clip);
