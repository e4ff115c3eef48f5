#pragma once
#include <windows.h>
#include <stdint.h>

// Draws one frame of a SWF movie held in memory with the movie engine: the
// movie is parsed, its main timeline sought to `frame` (clamped to the
// movie's frames; no action runs, no sound plays) and drawn by the engine's
// OpenGL drawer at width x height into a hidden window of its own, whose
// pixels are then copied to (0, 0) of `target`, which may be a metafile.
// False, with nothing drawn, when the movie cannot be read or OpenGL cannot
// draw. UI thread only; no other GL context may be current.
bool RenderMovieFrame(const uint8_t* bytes, int count, int frame, int width, int height, HDC target);
